// Where each monitor's water goes: its viewport in the one window that spans
// the virtual screen, its part of the desktop picture, the monitor under the
// pointer, and which water a monitor keeps when the monitors change.
#pragma once
#include <string>
#include <vector>

#include "renderer/water/projection.h"

struct ScreenRect {
    int Left, Top, Right, Bottom;  // right and bottom exclusive
};

struct Monitor {
    ScreenRect Rect;    // virtual-screen pixels (physical; negative left of or above the primary)
    std::wstring Name;  // the display device's name, which outlives a change of mode or place
};

// The rectangle around all monitors; empty (all 0) for none.
ScreenRect BoundingRect(const std::vector<Monitor>& monitors);

// The monitor's viewport in a window covering the window rectangle (virtual-screen pixels).
Viewport ViewportFor(const ScreenRect& monitor, const ScreenRect& window);

// The monitor's part of the desktop picture: a picture of the captured
// rectangle of the virtual screen, mirrored left to right, so the monitor's
// part lies mirrored too. Picture pixels, rows from the top; clipped to the
// picture, empty (Right <= Left or Bottom <= Top) when the picture has none of it.
ScreenRect PicturePart(const ScreenRect& monitor, const ScreenRect& captured, int pictureWidth, int pictureHeight);

// The index of the monitor holding the window's client point (x, y), -1 for
// none; where monitors overlap, the first.
int MonitorAt(const std::vector<Monitor>& monitors, const ScreenRect& window, int x, int y);

// The point relative to the monitor's top-left corner.
void PointOnMonitor(const ScreenRect& monitor, const ScreenRect& window, int x, int y, int* monitorX, int* monitorY);

// For each monitor of the new layout, the index of the old monitor of the
// same name (its water carries on), -1 for a new monitor.
std::vector<int> CarriedOver(const std::vector<Monitor>& before, const std::vector<Monitor>& after);

// A texture side for a picture side of pixels: the smallest power of two that
// holds it, at most maxSide (the GL's largest texture), at least 1.
int TextureSide(int pixels, int maxSide);
