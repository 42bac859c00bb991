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

// The system call that draws the effect; tests put a recorder here, since
// the effect itself leaves nothing to look at afterwards.
using AnimateRectsFunction = BOOL(WINAPI*)(HWND, int, const RECT*, const RECT*);
extern AnimateRectsFunction ZoomAnimateRects;
