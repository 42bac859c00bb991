#include "host/startup/zoom_win32.h"

ZoomPoint Zoom;
AnimateRectsFunction ZoomAnimateRects = DrawAnimatedRects;

namespace {

RECT ZoomPointRect() {
    return {Zoom.ZoomOriginX, Zoom.ZoomOriginY, Zoom.ZoomOriginX, Zoom.ZoomOriginY};
}

}  // namespace

// Neither result is checked: on failure the effect is simply not seen.
void ZoomOpen(HWND window) {
    const RECT from = ZoomPointRect();
    RECT to = {};
    GetWindowRect(window, &to);
    ZoomAnimateRects(window, IDANI_CAPTION, &from, &to);
}

void ZoomClose(HWND window) {
    RECT from = {};
    GetWindowRect(window, &from);
    const RECT to = ZoomPointRect();
    ZoomAnimateRects(window, IDANI_CAPTION, &from, &to);
}
