// Where the black covers go during a run: every part of the other monitors
// that the water, on the primary monitor, leaves showing. A saver exists to
// hide what is on the screens (and to rest the panels), not one screen of them.
#pragma once
#include <vector>

struct ScreenRect {
    int Left, Top, Right, Bottom;  // virtual-screen pixels; right and bottom exclusive
};

// The monitors' rectangles less the primary's: a monitor beside the primary is
// covered whole, one that overlaps it (a clone, a larger mode) in up to four
// bands around the overlap, and the primary itself not at all.
std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect>& monitors, const ScreenRect& primary);
