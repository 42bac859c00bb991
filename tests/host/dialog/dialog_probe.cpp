// dialog_probe: reads the open settings dialog "<Ripplume>" from another
// process of the same Wine prefix, for tests/wine/settings_dialog_test.sh.
//   dialog_probe state    one "name value..." line each: where the window, its
//                         inner area and the panel are on the screen, its
//                         frame, the repeat box's state and list, the close box
//   dialog_probe chooser  "chooser TITLE" of a window the dialog owns (the file
//                         chooser), in UTF-8
// Exit code 1 when the dialog (or the chooser) is not open.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/wine/tools/utf8_text.h"

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

struct Found {
    HWND panel = nullptr;
    HWND combo = nullptr;
};

BOOL CALLBACK FindChildren(HWND child, LPARAM data) {
    Found& found = *reinterpret_cast<Found*>(data);
    const std::wstring name = ClassOf(child);
    if (name == L"Ripplume_P_Pic") found.panel = child;
    if (lstrcmpiW(name.c_str(), L"ComboBox") == 0) found.combo = child;
    return TRUE;
}

void PrintInner(const char* name, HWND window) {
    RECT inner = {};
    GetClientRect(window, &inner);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("%s %ld %ld %ld %ld\n", name, origin.x, origin.y, inner.right, inner.bottom);
}

// The close box: the right-most point of the caption's middle row that the
// window itself calls HTCLOSE.
void PrintCloseBox(HWND dialog, const RECT& outer) {
    const int y = outer.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (int x = outer.right - 1; x > outer.left; --x) {
        const LRESULT hit = SendMessageW(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, y));
        if (hit == HTCLOSE) {
            int left = x;
            while (left > outer.left && SendMessageW(dialog, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y)) == HTCLOSE)
                --left;
            std::printf("closebox %d %d\n", (left + x) / 2, y);
            return;
        }
    }
    std::printf("closebox none\n");
}

int State() {
    HWND dialog = FindWindowW(nullptr, L"<Ripplume>");
    if (!dialog) return 1;
    RECT outer = {};
    GetWindowRect(dialog, &outer);
    std::printf("window %ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top);
    std::printf("class %s\n", Utf8(ClassOf(dialog)).c_str());
    std::printf("visible %d\n", IsWindowVisible(dialog) ? 1 : 0);
    PrintInner("client", dialog);

    const LONG style = GetWindowLongW(dialog, GWL_STYLE), exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
    std::printf("frame caption=%d sysmenu=%d minbox=%d maxbox=%d sizing=%d toolwindow=%d appwindow=%d\n",
                (style & WS_CAPTION) == WS_CAPTION, (style & WS_SYSMENU) != 0, (style & WS_MINIMIZEBOX) != 0,
                (style & WS_MAXIMIZEBOX) != 0, (style & WS_THICKFRAME) != 0, (exStyle & WS_EX_TOOLWINDOW) != 0,
                (exStyle & WS_EX_APPWINDOW) != 0);
    HWND owner = GetWindow(dialog, GW_OWNER);
    std::printf("owner %d %d\n", owner != nullptr, owner && IsWindowVisible(owner) ? 1 : 0);
    PrintCloseBox(dialog, outer);

    Found found;
    EnumChildWindows(dialog, FindChildren, reinterpret_cast<LPARAM>(&found));
    if (found.panel) {
        PrintInner("panel", found.panel);
        RECT panelOuter = {};
        GetWindowRect(found.panel, &panelOuter);
        std::printf("panel_outer %ld %ld %ld %ld\n", panelOuter.left, panelOuter.top,
                    panelOuter.right - panelOuter.left, panelOuter.bottom - panelOuter.top);
    }
    if (found.combo) {
        std::printf("repeat_enabled %d\n", IsWindowEnabled(found.combo) ? 1 : 0);
        // GetWindowText would give another process's combo box caption, not its text.
        wchar_t text[256] = {};
        SendMessageW(found.combo, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
        std::printf("repeat_text [%s]\n", Utf8(text).c_str());
        const LRESULT count = SendMessageW(found.combo, CB_GETCOUNT, 0, 0);
        std::string items;
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t item[64] = {};
            if (SendMessageW(found.combo, CB_GETLBTEXTLEN, i, 0) < 64)
                SendMessageW(found.combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            items += (i ? "|" : "") + Utf8(item);
        }
        std::printf("repeat_list %ld [%s]\n", long(count), items.c_str());
    }
    return 0;
}

struct Owned {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM data) {
    Owned& owned = *reinterpret_cast<Owned*>(data);
    if (GetWindow(window, GW_OWNER) == owned.owner && IsWindowVisible(window)) {
        owned.found = window;
        return FALSE;
    }
    return TRUE;
}

int Chooser() {
    Owned owned = {FindWindowW(nullptr, L"<Ripplume>"), nullptr};
    if (!owned.owner) return 1;
    EnumWindows(FindOwned, reinterpret_cast<LPARAM>(&owned));
    if (!owned.found) return 1;
    wchar_t title[256] = {};
    GetWindowTextW(owned.found, title, 256);
    std::printf("chooser %s\n", Utf8(title).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "state") return State();
    if (argc == 2 && std::string(argv[1]) == "chooser") return Chooser();
    std::fprintf(stderr, "usage: dialog_probe state|chooser\n");
    return 2;
}
