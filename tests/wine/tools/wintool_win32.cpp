// wintool: a small Windows helper for the Wine tests. It looks at and pokes
// the windows of other processes in the same Wine prefix.
//   wintool close TITLE          post WM_CLOSE to the top-level window TITLE
//   wintool texts TITLE          print the window's text and its children's, one per line (UTF-8)
//   wintool exists TITLE         exit 0 when a top-level window TITLE exists (hidden ones too)
//   wintool info TITLE           print "visible x y w h parent" of the window TITLE
//   wintool owner TITLE          print "owner enabled": the owner's handle in decimal (0: none)
//                                and whether the owner takes input
//   wintool enabled TITLE        exit 0 when the window TITLE takes input
//   wintool foreground           print the title of the active window (exit 1: none)
//   wintool press TITLE BUTTON   click the child button whose text is BUTTON
//   wintool syscommand TITLE HEX send WM_SYSCOMMAND with that command and print the result
//   wintool ok TITLE             the dialog's default button, as Enter gives it (WM_COMMAND IDOK)
//   wintool cancel TITLE         the dialog's cancel, as Escape gives it (WM_COMMAND IDCANCEL)
//   wintool chars TITLE TEXT     type TEXT (UTF-8) as characters into the focused control of window TITLE
//   wintool focused TITLE        print the text of the focused control of window TITLE (exit 1: none)
//   wintool version FILE         print the program's version resource: product, description, version, copyright
//   wintool local-app-data       print the user's local application-data folder (UTF-8)
//   wintool monitors             print "left top right bottom primary" of each monitor
//   wintool take-activation SECONDS  show a small window of its own, make it the
//                                     active one and keep it for that long;
//                                     prints "escape" for each Escape it gets
//   wintool topmost TITLE            exit code 0 when the window is topmost
//   wintool notice TITLE WHAT        send what the system sends the window when
//                                     WHAT happens: display-off, display-on,
//                                     suspend, resume, lock, unlock
//   wintool hold-mutex NAME SECONDS  own the named mutex for that long
//   wintool watch-settings SECONDS   keep a top-level window for that long and
//                                     print "setting N" for each WM_SETTINGCHANGE
//                                     announcing SystemParametersInfo action N
// Copied in the renderer's place as Ripplume.dll, it plays a renderer whose
// process outlives its window: "Ripplume_VC" for 2 s, then 6 s without it.
//   wintool hold-file PATH SECONDS [read]  keep the file open for that long, shared
//                                           with nobody, or with readers
#include <windows.h>
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/tools/utf8_text.h"

namespace {

std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(window, buffer, 1024);
    return buffer;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    std::printf("%s\n", Utf8(TextOf(child)).c_str());
    return TRUE;
}

struct ButtonSearch {
    std::wstring text;
    HWND found;
};

BOOL CALLBACK FindButton(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ButtonSearch*>(context);
    if (TextOf(child) == search->text) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// The arguments as the shell gave them, in full Unicode: the narrow argv holds
// only what the ANSI code page can.
std::wstring Argument(int index) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring argument = arguments && index < count ? arguments[index] : L"";
    LocalFree(arguments);
    return argument;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right, r.bottom,
                    (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
    }
    return TRUE;
}

// Sends WM_POWERBROADCAST or WM_WTSSESSION_CHANGE as the system would. The
// display state's POWERBROADCAST_SETTING is written into the window's own
// process, where its lParam must point.
bool SendNotice(HWND window, const std::string& what) {
    DWORD_PTR result = 0;
    const auto send = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result) != 0;
    };
    if (what == "suspend") return send(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    if (what == "resume") return send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    if (what == "lock") return send(WM_WTSSESSION_CHANGE, 0x7, 1);    // WTS_SESSION_LOCK
    if (what == "unlock") return send(WM_WTSSESSION_CHANGE, 0x8, 1);  // WTS_SESSION_UNLOCK
    if (what != "display-off" && what != "display-on") return false;

    // GUID_SESSION_DISPLAY_STATUS: 0 off, 1 on.
    POWERBROADCAST_SETTING setting = {
        {0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}}, sizeof(DWORD), {}};
    const DWORD state = what == "display-on" ? 1 : 0;
    std::memcpy(setting.Data, &state, sizeof state);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof setting, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool sent = remote != nullptr && WriteProcessMemory(process, remote, &setting, sizeof setting, nullptr) &&
                send(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(remote));
    if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return sent;
}

}  // namespace

LRESULT CALLBACK SettingsWatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        std::printf("setting %lu\n", static_cast<unsigned long>(wParam));
        std::fflush(stdout);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int WatchSettings(DWORD seconds) {
    WNDCLASSW watcher = {};
    watcher.lpfnWndProc = SettingsWatcher;
    watcher.lpszClassName = L"wintool settings watcher";
    RegisterClassW(&watcher);
    if (!CreateWindowExW(0, watcher.lpszClassName, L"wintool watcher", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                         nullptr))
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    MSG message;
    for (const DWORD end = GetTickCount() + seconds * 1000; GetTickCount() < end;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return 0;
}

int PlayLingeringRenderer() {
    const HWND window = CreateWindowExW(0, L"STATIC", L"Ripplume_VC", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                                        nullptr, nullptr, nullptr);
    MSG message;
    for (const DWORD end = GetTickCount() + 2000; GetTickCount() < end;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    DestroyWindow(window);
    Sleep(6000);
    return 0;
}

bool StartedAsRenderer() {
    wchar_t path[MAX_PATH] = {};
    const std::wstring name(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    const std::wstring ending = L"\\Ripplume.dll";
    return name.size() >= ending.size() && _wcsicmp(name.c_str() + name.size() - ending.size(), ending.c_str()) == 0;
}

int main(int argc, char** argv) {
    if (StartedAsRenderer()) return PlayLingeringRenderer();
    if (argc == 2 && std::string(argv[1]) == "local-app-data") {
        PWSTR folder = nullptr;
        if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder))) return 1;
        std::printf("%s\n", Utf8(folder).c_str());
        CoTaskMemFree(folder);
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "foreground") {
        const HWND front = GetForegroundWindow();
        if (!front) return 1;
        std::printf("%s\n", Utf8(TextOf(front)).c_str());
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "monitors") {
        EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "watch-settings") {
        return WatchSettings(std::strtoul(argv[2], nullptr, 10));
    }
    if (argc == 3 && std::string(argv[1]) == "take-activation") {
        const HWND window = CreateWindowExW(0, L"STATIC", L"wintool active", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0,
                                            80, 40, nullptr, nullptr, nullptr, nullptr);
        if (!window || !SetForegroundWindow(window) || GetForegroundWindow() != window) return 1;
        SetFocus(window);  // the keys come to it, as to any window the user switches to
        std::printf("held\n");
        std::fflush(stdout);
        const DWORD end = GetTickCount() + std::strtoul(argv[2], nullptr, 10) * 1000;
        MSG message;
        while (GetTickCount() < end) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
                    std::printf("escape\n");
                    std::fflush(stdout);
                }
                DispatchMessageW(&message);
            }
        }
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: wintool close|texts|exists|info|press|syscommand|display-change TITLE [BUTTON|HEX] | "
                     "hold-mutex|hold-file NAME SECONDS\n");
        return 2;
    }
    const std::string command = argv[1];
    if (command == "version") {
        const std::wstring file = Argument(2);
        DWORD ignored = 0;
        std::vector<char> info(GetFileVersionInfoSizeW(file.c_str(), &ignored));
        if (info.empty() || !GetFileVersionInfoW(file.c_str(), 0, DWORD(info.size()), info.data())) return 1;
        for (const wchar_t* name : {L"ProductName", L"FileDescription", L"ProductVersion", L"LegalCopyright"}) {
            wchar_t* value = nullptr;
            UINT length = 0;
            const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
            if (!VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) return 1;
            std::printf("%s=%s\n", Utf8(name).c_str(), Utf8(value).c_str());
        }
        return 0;
    }
    if (command == "hold-mutex" && argc >= 4) {
        if (!CreateMutexW(nullptr, TRUE, Argument(2).c_str())) return 1;
        std::printf("held\n");
        std::fflush(stdout);
        Sleep(std::strtoul(argv[3], nullptr, 10) * 1000);
        return 0;
    }
    if (command == "hold-file" && argc >= 4) {
        const DWORD share = argc >= 5 && std::string(argv[4]) == "read" ? FILE_SHARE_READ : 0;
        const HANDLE file = CreateFileW(Argument(2).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        std::printf("held\n");
        std::fflush(stdout);
        Sleep(std::strtoul(argv[3], nullptr, 10) * 1000);
        CloseHandle(file);
        return 0;
    }
    HWND window = FindWindowW(nullptr, Argument(2).c_str());
    if (!window) return 1;

    if (command == "exists") return 0;
    if (command == "close") return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == "texts") {
        std::printf("%s\n", Utf8(TextOf(window)).c_str());
        EnumChildWindows(window, PrintChild, 0);
        return 0;
    }
    if (command == "topmost") return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 0 : 1;
    if (command == "info") {
        RECT rect = {};
        GetWindowRect(window, &rect);
        std::printf("%d %ld %ld %ld %ld %p\n", IsWindowVisible(window) ? 1 : 0, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, (void*)GetParent(window));
        return 0;
    }
    if (command == "enabled") return IsWindowEnabled(window) ? 0 : 1;
    if (command == "owner") {
        const HWND owner = GetWindow(window, GW_OWNER);
        std::printf("%lu %d\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(owner)),
                    owner && IsWindowEnabled(owner) ? 1 : 0);
        return 0;
    }
    if (command == "syscommand" && argc >= 4) {
        const WPARAM code = std::strtoul(argv[3], nullptr, 16);
        std::printf("%ld\n", static_cast<long>(SendMessageW(window, WM_SYSCOMMAND, code, 0)));
        return 0;
    }
    if (command == "display-change") {
        // Sent, not posted: when it returns, the window has handled it.
        DWORD_PTR result = 0;
        const LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return SendMessageTimeoutW(window, WM_DISPLAYCHANGE, 32, size, SMTO_ABORTIFHUNG, 10000, &result) ? 0 : 1;
    }
    if (command == "notice" && argc >= 4) return SendNotice(window, argv[3]) ? 0 : 1;
    if (command == "ok") return PostMessageW(window, WM_COMMAND, IDOK, 0) ? 0 : 1;
    if (command == "cancel") return PostMessageW(window, WM_COMMAND, IDCANCEL, 0) ? 0 : 1;
    if (command == "focused") {
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) || !thread.hwndFocus) return 1;
        wchar_t text[1024] = {};
        SendMessageW(thread.hwndFocus, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
        std::printf("%s\n", Utf8(text).c_str());
        return 0;
    }
    if (command == "chars" && argc >= 4) {
        // Characters no keyboard layout here has (kanji) arrive as an input method delivers them.
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) || !thread.hwndFocus) return 1;
        for (wchar_t c : Argument(3)) {
            PostMessageW(thread.hwndFocus, WM_CHAR, c, 1);
        }
        return 0;
    }
    if (command == "press" && argc >= 4) {
        ButtonSearch search = {Argument(3), nullptr};
        EnumChildWindows(window, FindButton, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return 1;
        SendMessageW(search.found, BM_CLICK, 0, 0);
        return 0;
    }
    return 2;
}
