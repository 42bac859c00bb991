// The dialog's zoom animation out of and back into a remembered screen point.
#pragma once
#include <cstdint>
#include <windows.h>

struct ZoomPoint {
    int16_t ZoomOriginX = 0;
    int16_t ZoomOriginY = 0;
};

extern ZoomPoint Zoom;

// Animates from the zoom point to the window's rectangle.
void ZoomOpen(HWND window);
// Animates from the window's rectangle back to the zoom point.
void ZoomClose(HWND window);

// The system call that draws the effect. An interface, like every way to the
// system a test replaces (see README, "Stand-ins"): tests put a recorder in
// its place, since the effect leaves nothing to look at afterwards.
struct ZoomSystem {
    virtual ~ZoomSystem() = default;
    virtual BOOL AnimateRects(HWND window, int kind, const RECT* from, const RECT* to) = 0;
};

// The system's own, unless a test has put another in its place.
extern ZoomSystem* ZoomCalls;
