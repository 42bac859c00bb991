#include "renderer/frame/monitor_covers_win32.h"

#include <vector>

#include "renderer/frame/monitor_covers.h"

namespace {

constexpr wchar_t CoverClass[] = L"Ripplume_Cover";

std::vector<HWND> Covers;

LRESULT CALLBACK CoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // a click on a cover leaves the water active
    case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        auto* monitors = reinterpret_cast<std::vector<ScreenRect>*>(context);
        const RECT& r = info.rcMonitor;
        monitors->push_back({int(r.left), int(r.top), int(r.right), int(r.bottom)});
    }
    return TRUE;
}

ScreenRect PrimaryMonitor() {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& r = info.rcMonitor;
    return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

}  // namespace

void CoverOtherMonitors(HINSTANCE module) {
    RemoveMonitorCovers();
    WNDCLASSW coverClass = {};
    coverClass.lpfnWndProc = CoverProc;
    coverClass.hInstance = module;
    coverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    coverClass.lpszClassName = CoverClass;
    RegisterClassW(&coverClass);  // fails harmlessly when it is registered already

    std::vector<ScreenRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    for (const ScreenRect& r : CoverRects(monitors, PrimaryMonitor())) {
        const HWND cover =
            CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CoverClass, L"", WS_POPUP, r.Left,
                            r.Top, r.Right - r.Left, r.Bottom - r.Top, nullptr, nullptr, module, nullptr);
        if (!cover) continue;
        ShowWindow(cover, SW_SHOWNOACTIVATE);
        Covers.push_back(cover);
    }
}

void RemoveMonitorCovers() {
    for (HWND cover : Covers) DestroyWindow(cover);
    Covers.clear();
}
