#include "host/common/screen_dpi_win32.h"

#include "host/common/gdi_object_win32.h"

int ScreenDpi() {
    static const int dpi = [] {
        const WindowDc screen;
        const int value = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int DpiAt(POINT screenPoint) {
    // GetDpiForMonitor (shcore.dll, Windows 8.1 and later), looked up so the
    // host still starts where it is missing; 0 is MDT_EFFECTIVE_DPI.
    using DpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const DpiForMonitorFunction dpiForMonitor = [] {
        const HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<DpiForMonitorFunction>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (dpiForMonitor && SUCCEEDED(dpiForMonitor(MonitorFromPoint(screenPoint, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) &&
        y > 0)
        return int(y);
    return ScreenDpi();
}
