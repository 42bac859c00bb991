// end_session TITLE: tells the top-level window TITLE (hidden ones too) that
// the session ends, as a log-off does: WM_QUERYENDSESSION and, when that is
// answered yes, WM_ENDSESSION. Exit code 1 when there is no such window.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 2) {
        return 2;
    }
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr) {
        return 1;
    }
    DWORD_PTR answer = 0;
    const LRESULT delivered =
        SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 2000, &answer);
    if (delivered && answer) {
        SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 2000, &answer);
    }
    return 0;
}
