#include "host/startup/zoom_win32.h"

ZoomPoint Zoom;
namespace {

struct SystemZoom : ZoomSystem {
    BOOL AnimateRects(HWND window, int kind, const RECT* from, const RECT* to) override {
        return DrawAnimatedRects(window, kind, from, to);
    }
} SystemZoomCalls;

}  // namespace

ZoomSystem* ZoomCalls = &SystemZoomCalls;

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
    ZoomCalls->AnimateRects(window, IDANI_CAPTION, &from, &to);
}

void ZoomClose(HWND window) {
    RECT from = {};
    GetWindowRect(window, &from);
    const RECT to = ZoomPointRect();
    ZoomCalls->AnimateRects(window, IDANI_CAPTION, &from, &to);
}
