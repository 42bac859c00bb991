#include "renderer/frame/monitor_layout.h"

#include <algorithm>

namespace {

bool Holds(const ScreenRect& r, int x, int y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

}  // namespace

ScreenRect BoundingRect(const std::vector<Monitor>& monitors) {
    if (monitors.empty()) return {0, 0, 0, 0};
    ScreenRect around = monitors.front().Rect;
    for (const Monitor& m : monitors) {
        around.Left = std::min(around.Left, m.Rect.Left);
        around.Top = std::min(around.Top, m.Rect.Top);
        around.Right = std::max(around.Right, m.Rect.Right);
        around.Bottom = std::max(around.Bottom, m.Rect.Bottom);
    }
    return around;
}

Viewport ViewportFor(const ScreenRect& monitor, const ScreenRect& window) {
    return {monitor.Left - window.Left, window.Bottom - monitor.Bottom, monitor.Right - monitor.Left,
            monitor.Bottom - monitor.Top};
}

ScreenRect PicturePart(const ScreenRect& monitor, const ScreenRect& captured, int pictureWidth, int pictureHeight) {
    // Column x of the screen is column width - 1 - x of the mirrored picture.
    ScreenRect part = {pictureWidth - (monitor.Right - captured.Left), monitor.Top - captured.Top,
                       pictureWidth - (monitor.Left - captured.Left), monitor.Bottom - captured.Top};
    part.Left = std::max(part.Left, 0);
    part.Top = std::max(part.Top, 0);
    part.Right = std::min(part.Right, pictureWidth);
    part.Bottom = std::min(part.Bottom, pictureHeight);
    part.Right = std::max(part.Right, part.Left);
    part.Bottom = std::max(part.Bottom, part.Top);
    return part;
}

int MonitorAt(const std::vector<Monitor>& monitors, const ScreenRect& window, int x, int y) {
    for (size_t i = 0; i < monitors.size(); ++i) {
        if (Holds(monitors[i].Rect, x + window.Left, y + window.Top)) return int(i);
    }
    return -1;
}

void PointOnMonitor(const ScreenRect& monitor, const ScreenRect& window, int x, int y, int* monitorX, int* monitorY) {
    *monitorX = x + window.Left - monitor.Left;
    *monitorY = y + window.Top - monitor.Top;
}

std::vector<int> CarriedOver(const std::vector<Monitor>& before, const std::vector<Monitor>& after) {
    std::vector<int> from(after.size(), -1);
    std::vector<bool> taken(before.size(), false);
    for (size_t a = 0; a < after.size(); ++a) {
        for (size_t b = 0; b < before.size(); ++b) {
            if (!taken[b] && before[b].Name == after[a].Name) {
                from[a] = int(b);
                taken[b] = true;
                break;
            }
        }
    }
    return from;
}

int TextureSide(int pixels, int maxSide) {
    int side = 1;
    while (side < pixels && side <= maxSide / 2) side *= 2;
    return side;
}
