#include "renderer/frame/monitor_waters_win32.h"

#include "renderer/assets/desktop_texture.h"

MonitorWaterState MonitorWaters;

namespace {

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM context) {
    MONITORINFOEXW info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(handle, &info)) {
        const RECT& r = info.rcMonitor;
        const Monitor monitor = {{int(r.left), int(r.top), int(r.right), int(r.bottom)}, info.szDevice};
        auto* monitors = reinterpret_cast<std::vector<Monitor>*>(context);
        // The primary first, so that it wins where monitors overlap.
        if (info.dwFlags & MONITORINFOF_PRIMARY)
            monitors->insert(monitors->begin(), monitor);
        else
            monitors->push_back(monitor);
    }
    return TRUE;
}

GLuint DesktopColourTexture() {
    const COLORREF colour = GetSysColor(COLOR_DESKTOP);
    return MakeColourTexture(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

}  // namespace

std::vector<Monitor> CurrentMonitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty())
        monitors.push_back({{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, L""});
    return monitors;
}

void StartMonitorWaters(const BitmapImage& picture) {
    ReleaseMonitorWaters();
    MonitorWaters.Monitors = CurrentMonitors();
    // The host captured the virtual screen of these monitors.
    MonitorWaters.Window = BoundingRect(MonitorWaters.Monitors);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    for (const Monitor& monitor : MonitorWaters.Monitors) {
        const ScreenRect part = PicturePart(monitor.Rect, MonitorWaters.Window, picture.width, picture.height);
        GLuint texture =
            MakePartTexture(picture, part.Left, part.Top, part.Right, part.Bottom,
                            TextureSide(part.Right - part.Left, largest), TextureSide(part.Bottom - part.Top, largest));
        if (texture == 0) texture = DesktopColourTexture();
        MonitorWaters.Views.push_back(NewWaterView(ViewportFor(monitor.Rect, MonitorWaters.Window), texture));
    }
}

void FollowMonitors(HWND window) {
    const std::vector<Monitor> monitors = CurrentMonitors();
    const std::vector<int> from = CarriedOver(MonitorWaters.Monitors, monitors);
    const ScreenRect around = BoundingRect(monitors);
    std::vector<WaterView> views;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const Viewport viewport = ViewportFor(monitors[i].Rect, around);
        if (from[i] < 0) {
            views.push_back(NewWaterView(viewport, DesktopColourTexture()));
        } else {
            WaterView& carried = MonitorWaters.Views[size_t(from[i])];
            views.push_back(std::move(carried));
            carried.Texture = 0;  // the new view owns it now
            views.back().View = viewport;
        }
    }
    ReleaseMonitorWaters();
    MonitorWaters = {monitors, std::move(views), around};
    SetWindowPos(window, HWND_TOPMOST, around.Left, around.Top, around.Right - around.Left, around.Bottom - around.Top,
                 SWP_NOACTIVATE);
}

void StirMonitorWater(int x, int y) {
    const int index = MonitorAt(MonitorWaters.Monitors, MonitorWaters.Window, x, y);
    if (index < 0) return;
    int monitorX = 0, monitorY = 0;
    PointOnMonitor(MonitorWaters.Monitors[size_t(index)].Rect, MonitorWaters.Window, x, y, &monitorX, &monitorY);
    StirWaterView(MonitorWaters.Views[size_t(index)], monitorX, monitorY);
}

void DrawMonitorWaters(double scale) {
    DrawWaterViews(MonitorWaters.Views, scale);
}

void ReleaseMonitorWaters() {
    for (WaterView& view : MonitorWaters.Views) ReleaseWaterView(view);
    MonitorWaters = MonitorWaterState();
}
