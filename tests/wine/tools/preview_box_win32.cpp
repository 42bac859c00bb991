// A stand-in for the preview box of the system's screen-saver page, for the
// preview tests under Wine.
//
//   preview_box box W H FILE     a W x H box at (100, 100); writes its window
//                                handle in decimal to FILE, then reports what
//                                it finds of a child "Preview Window" to
//                                FILE.report ("found parent child x y w h")
//   preview_box inproc W H FILE  the same box with the preview window made in
//                                this process, so its pixels reach the screen
//
// Either ends when FILE.quit appears (or after a minute), destroying the box.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/startup/preview_window_win32.h"

namespace {

constexpr UINT_PTR CheckTimer = 1;
constexpr int BoxLeft = 100;
constexpr int BoxTop = 100;
constexpr DWORD LifetimeMs = 60000;

std::wstring OutFile;
DWORD StartTick = 0;

void WriteText(const std::wstring& path, const std::string& text) {
    // Written beside and then moved, so the test never reads half a file.
    const std::wstring temporary = path + L".tmp";
    FILE* out = _wfopen(temporary.c_str(), L"wb");
    if (out == nullptr) {
        return;
    }
    std::fputs(text.c_str(), out);
    std::fclose(out);
    MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void ReportChild(HWND box) {
    const HWND child = FindWindowExW(box, nullptr, nullptr, PreviewWindowTitle);
    RECT boxRect = {}, childRect = {};
    GetWindowRect(box, &boxRect);
    int parentOk = 0, isChild = 0;
    if (child != nullptr) {
        GetWindowRect(child, &childRect);
        parentOk = GetParent(child) == box && IsChild(box, child);
        isChild = (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) != 0;
    }
    char text[200];
    std::snprintf(text, sizeof text, "%d %d %d %ld %ld %ld %ld %d\n", child != nullptr, parentOk, isChild,
                  childRect.left - boxRect.left, childRect.top - boxRect.top, childRect.right - childRect.left,
                  childRect.bottom - childRect.top, child != nullptr && IsWindowVisible(child) ? 1 : 0);
    WriteText(OutFile + L".report", text);
}

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        ReportChild(window);
        if (GetFileAttributesW((OutFile + L".quit").c_str()) != INVALID_FILE_ATTRIBUTES ||
            GetTickCount() - StartTick > LifetimeMs) {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 5) {
        return 2;
    }
    const std::wstring mode = argv[1];
    const int width = _wtoi(argv[2]);
    const int height = _wtoi(argv[3]);
    OutFile = argv[4];
    StartTick = GetTickCount();

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = BoxProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"PreviewBox";
    RegisterClassW(&windowClass);
    const HWND box = CreateWindowExW(0, L"PreviewBox", L"Preview Box", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, BoxLeft,
                                     BoxTop, width, height, nullptr, nullptr, instance, nullptr);
    if (box == nullptr) {
        return 3;
    }
    if (mode == L"inproc" && ShowPreview(instance, box) == nullptr) {
        return 4;
    }
    SetTimer(box, CheckTimer, 100, nullptr);
    WriteText(OutFile, std::to_string(reinterpret_cast<UINT_PTR>(box)) + "\n");

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The preview posts WM_QUIT when it goes; in-process it goes with the box.
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
