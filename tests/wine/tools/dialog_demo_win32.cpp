// Shows the settings dialog the way Main does for a settings request: the
// settings are loaded from Ripplume.ini beside this program first, and the
// program ends when the dialog has closed.
//
//   dialog_demo /record LOG CHOSEN   the same, but the zoom, the file chooser
//       and the web-page request are recorded in LOG (UTF-8, a line each)
//       instead of reaching the system; the chooser answers with CHOSEN.
//   dialog_demo /dpi-change DPI      the same, but once the dialog shows, it is
//       told (WM_DPICHANGED) that it is now on a monitor of DPI dots per inch,
//       as Windows tells a dialog moved to such a monitor; Wine never does.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/common/gdi_object_win32.h"
#include "host/dialog/dialog_system_win32.h"
#include "host/dialog/settings_dialog_win32.h"
#include "host/startup/settings_file_win32.h"
#include "host/startup/zoom_win32.h"
#include "tests/wine/tools/utf8_text.h"

namespace {

std::FILE* Log = nullptr;
std::wstring Chosen;

std::string RectText(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    return text;
}

void Record(const std::string& line) {
    std::fprintf(Log, "%s\n", line.c_str());
    std::fflush(Log);
}

// A filter's NUL separators shown as "|".
std::wstring FilterText(const wchar_t* filter) {
    std::wstring text;
    if (!filter) return L"(none)";
    for (const wchar_t* p = filter; *p || p[1]; ++p) text += *p ? *p : L'|';
    return text + L"||";
}

struct ZoomRecorder : ZoomSystem {
    BOOL AnimateRects(HWND, int kind, const RECT* from, const RECT* to) override {
        Record("zoom " + std::to_string(kind) + " " + RectText(*from) + " " + RectText(*to));
        return TRUE;
    }
} RecordZoom;

struct DialogRecorder : DialogSystem {
    BOOL OpenFileName(OPENFILENAMEW* request) override;
    HINSTANCE OpenWebPage(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                          INT show) override;
} RecordDialog;

BOOL DialogRecorder::OpenFileName(OPENFILENAMEW* request) {
    Record("chooser filter=" + Utf8(FilterText(request->lpstrFilter)) +
           " title=" + Utf8(request->lpstrTitle ? request->lpstrTitle : L"(none)") +
           " folder=" + Utf8(request->lpstrInitialDir ? request->lpstrInitialDir : L"(none)") +
           " chars=" + std::to_string(request->nMaxFile) + " flags=" + std::to_string(request->Flags) +
           " owned=" + std::to_string(request->hwndOwner == FindWindowW(nullptr, L"<Ripplume>")));
    lstrcpynW(request->lpstrFile, Chosen.c_str(), int(request->nMaxFile));
    return TRUE;
}

HINSTANCE DialogRecorder::OpenWebPage(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                                      INT show) {
    const bool hourglass = GetCursor() == LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
    Record("shell verb=" + Utf8(verb) + " file=" + Utf8(file) + " parameters=[" + Utf8(parameters) + "] folder=[" +
           Utf8(folder) + "] show=" + std::to_string(show) + " hourglass=" + std::to_string(hourglass) +
           " owned=" + std::to_string(owner == FindWindowW(nullptr, L"<Ripplume>")));
    return reinterpret_cast<HINSTANCE>(33);
}

int NewDpi = 0;

// Waits for the dialog's window, then sends it what Windows sends a window
// that has moved to a monitor of another resolution: the new resolution and
// the window's rectangle scaled to it.
void CALLBACK SendDpiChange(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = FindWindowW(nullptr, L"<Ripplume>");
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    RECT outer = {};
    GetWindowRect(dialog, &outer);
    const int oldDpi = GetDeviceCaps(WindowDc().Get(), LOGPIXELSY);
    RECT suggested = {outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, NewDpi, oldDpi),
                      outer.top + MulDiv(outer.bottom - outer.top, NewDpi, oldDpi)};
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(NewDpi, NewDpi), LPARAM(&suggested));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (__argc >= 4 && std::string(__argv[1]) == "/record") {
        Log = std::fopen(__argv[2], "w");
        if (!Log) return 1;
        // In full Unicode: the narrow arguments hold only what the code page can.
        int count = 0;
        LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
        Chosen = arguments && count >= 4 ? arguments[3] : Widen(__argv[3]);
        LocalFree(arguments);
        ZoomCalls = &RecordZoom;
        DialogCalls = &RecordDialog;
    }
    if (__argc >= 3 && std::string(__argv[1]) == "/dpi-change") {
        NewDpi = std::atoi(__argv[2]);
        SetTimer(nullptr, 0, 200, SendDpiChange);
    }
    LoadSettings();
    ShowSettingsDialog(instance, nullptr);
    if (Log) {
        Record("closed");
        std::fclose(Log);
    }
    return 0;
}
