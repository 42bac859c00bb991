// A plain window with three Command buttons ("設定", "ｷｬﾝｾﾙ" and a disabled
// "..."), for tests/wine/command_button_test.sh. The file named by the first
// argument gets one line per button with its screen rectangle, "ready" once
// the buttons are initialised, and one line "click ID" per Click.
#include <windows.h>

#include <cstdio>

#include "host/controls/command_button_win32.h"

namespace {

const wchar_t Title[] = L"Command demo";
FILE* Log;

struct DemoButton {
    int id;
    const wchar_t* caption;
    int x, y, width, height;  // pixels: the dialog's sizes of 1215 x 375 and 615 x 315 twips
    bool enabled;
};
const DemoButton Buttons[] = {
    {1, L"\u8A2D\u5B9A", 20, 30, 81, 25, true},                     // 設定
    {2, L"\uFF77\uFF6C\uFF9D\uFF7E\uFF99", 110, 30, 81, 25, true},  // ｷｬﾝｾﾙ
    {3, L"...", 200, 32, 41, 21, false},
};

BOOL CALLBACK InitializeButton(HWND child, LPARAM) {
    if (IsCommandButton(child)) CommandButton_Initialize(child);
    return TRUE;
}

LRESULT CALLBACK DemoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && IsCommandButton(reinterpret_cast<HWND>(lParam))) {
            std::fprintf(Log, "click %d\n", LOWORD(wParam));
            std::fflush(Log);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc < 2 || !(Log = std::fopen(__argv[1], "w"))) return 2;
    if (!RegisterCommandButtonClass(instance)) {
        std::fprintf(Log, "no button class or face pictures\n");
        return 1;
    }

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DemoProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = CreateSolidBrush(RGB(248, 248, 244));
    wc.lpszClassName = L"CommandDemo";
    RegisterClassExW(&wc);

    RECT frame = {0, 0, 270, 90};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowExW(0, wc.lpszClassName, Title, style, 100, 100, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    for (const DemoButton& b : Buttons) {
        HWND button = CreateCommandButton(window, b.id, b.caption, b.x, b.y, b.width, b.height);
        CommandButton_SetEnabled(button, b.enabled);
        POINT origin = {0, 0};
        ClientToScreen(button, &origin);
        std::fprintf(Log, "button %d %ld %ld %d %d\n", b.id, origin.x, origin.y, b.width, b.height);
    }
    EnumChildWindows(window, InitializeButton, 0);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    std::fprintf(Log, "ready\n");
    std::fflush(Log);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fclose(Log);
    return 0;
}
