// dialog_probe: reads the open settings dialog "<Ripplume>" from another
// process of the same Wine prefix, for tests/wine/settings_dialog_test.sh.
//   dialog_probe state    one "name value..." line each: where the window, its
//                         inner area and the panel are on the screen, its
//                         frame, the repeat box's state and list, the close box
//   dialog_probe chooser  "chooser TITLE" of a window the dialog owns (the file
//                         chooser), in UTF-8
//   dialog_probe layout   where the controls are and where their text shows,
//                         for tests/wine/dialog_layout_test.sh: the child
//                         windows' rectangles and the buttons' captions, and
//                         boxes of the text pixels found on the screen around
//                         them (see Layout below)
//   dialog_probe manifest FILE  whether the program FILE carries the manifest
//                         Windows reads at start and declares itself DPI-aware
// Exit code 1 when the dialog (or the chooser) is not open.
//
// The probe is DPI-aware itself, so it measures in the screen's own pixels
// whatever the display's resolution.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "host/common/gdi_object_win32.h"
#include "host/common/memory_canvas_win32.h"
#include "host/dialog/dialog_layout.h"
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

// ---- layout: rectangles and text on the screen ----
// Every rectangle is printed as "left top right bottom" (right and bottom
// exclusive) in the dialog's inner-area coordinates.

void PrintRect(const char* name, const RECT& r) {
    std::printf("rect %s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
}

// A child window's rectangle in the dialog's inner-area coordinates.
RECT ChildRect(HWND dialog, HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct Controls {
    HWND panel = nullptr, combo = nullptr, file = nullptr, set = nullptr, cancel = nullptr;
};

BOOL CALLBACK FindControls(HWND child, LPARAM data) {
    Controls& c = *reinterpret_cast<Controls*>(data);
    const std::wstring name = ClassOf(child);
    if (name == L"Ripplume_P_Pic") c.panel = child;
    if (lstrcmpiW(name.c_str(), L"ComboBox") == 0) c.combo = child;
    // The buttons by their control ids: the file button, OK, Cancel.
    if (name == L"RipplumeCommand") {
        switch (GetDlgCtrlID(child)) {
        case IdCmdFile:
            c.file = child;
            break;
        case IdCmdSet:
            c.set = child;
            break;
        case IdCmdCan:
            c.cancel = child;
            break;
        default:
            break;
        }
    }
    return TRUE;
}

void PrintCaption(const char* name, HWND button) {
    wchar_t caption[64] = {};
    GetWindowTextW(button, caption, 64);
    std::printf("caption %s %s\n", name, Utf8(caption).c_str());
}

// The dialog's inner area as it is on the screen.
struct Pixels {
    int width = 0, height = 0;
    std::vector<DWORD> rgb;  // 0x00RRGGBB, row by row
    DWORD at(int x, int y) const { return rgb[size_t(y) * width + x]; }
};

Pixels Capture(HWND dialog) {
    Pixels pixels;
    RECT inner = {};
    GetClientRect(dialog, &inner);
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    pixels.width = inner.right;
    pixels.height = inner.bottom;
    if (pixels.width <= 0 || pixels.height <= 0) return pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const WindowDc screen;
    const MemoryCanvas canvas =
        MemoryCanvas::Owning(screen.Get(), CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (canvas && bits &&
        BitBlt(canvas.Dc(), 0, 0, pixels.width, pixels.height, screen.Get(), origin.x, origin.y, SRCCOPY)) {
        GdiFlush();
        const DWORD* p = static_cast<const DWORD*>(bits);
        pixels.rgb.assign(p, p + size_t(pixels.width) * pixels.height);
        for (DWORD& v : pixels.rgb) v &= 0xFFFFFF;
    } else {
        pixels.width = pixels.height = 0;  // nothing captured: no pixels to look at
    }
    return pixels;
}

int Red(DWORD v) {
    return (v >> 16) & 0xFF;
}
int Green(DWORD v) {
    return (v >> 8) & 0xFF;
}
int Blue(DWORD v) {
    return v & 0xFF;
}

// Black text on the panel's light grey texture (the marks and the button
// outlines are lighter or bluer than this).
bool DarkInk(DWORD v) {
    return std::max({Red(v), Green(v), Blue(v)}) < 100;
}
// A button's caption on its pale face: small glyphs such as the dots of
// "..." are drawn in grey, not black, where the font smooths them; the ring
// around the face is blue, not grey.
bool CaptionInk(DWORD v) {
    const int high = std::max({Red(v), Green(v), Blue(v)}), low = std::min({Red(v), Green(v), Blue(v)});
    return high < 150 && high - low < 30;
}
// White text on the window's gradient, whose blue is always 30 above its red.
bool WhiteInk(DWORD v) {
    return Red(v) >= 150 && Blue(v) - Red(v) <= 10 && Green(v) - Red(v) <= 10;
}
// The chosen option mark: a blue square.
bool MarkBlue(DWORD v) {
    return Blue(v) >= 100 && Blue(v) - Red(v) >= 60;
}

RECT Clipped(RECT r, const Pixels& pixels) {
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, pixels.width);
    r.bottom = std::min<LONG>(r.bottom, pixels.height);
    return r;
}

// "ink NAME left top right bottom lines TOP-BOTTOM ...": the box around the
// pixels of one kind inside a region, and the runs of rows that hold them
// (a line of text each), or "ink NAME none".
void PrintInk(const char* name, const Pixels& pixels, RECT region, bool (*ink)(DWORD), const RECT* skip = nullptr) {
    region = Clipped(region, pixels);
    RECT box = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    std::vector<bool> rowHasInk(size_t(std::max<LONG>(region.bottom, 0)), false);
    for (LONG y = region.top; y < region.bottom; ++y)
        for (LONG x = region.left; x < region.right; ++x) {
            if (skip && x >= skip->left && x < skip->right && y >= skip->top && y < skip->bottom) continue;
            if (!ink(pixels.at(x, y))) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
            rowHasInk[size_t(y)] = true;
        }
    if (box.right == LONG_MIN) {
        std::printf("ink %s none\n", name);
        return;
    }
    std::printf("ink %s %ld %ld %ld %ld lines", name, box.left, box.top, box.right, box.bottom);
    for (LONG y = box.top; y < box.bottom;) {
        LONG end = y;
        while (end < box.bottom && rowHasInk[size_t(end)]) ++end;
        std::printf(" %ld-%ld", y, end);
        y = end;
        while (y < box.bottom && !rowHasInk[size_t(y)]) ++y;
    }
    std::printf("\n");
}

// The outline framing the "BGM" title: the first and last rows in the region
// with a long dark run, and the columns dark all the way between them.
bool FindFrame(const Pixels& pixels, RECT region, RECT& frame) {
    region = Clipped(region, pixels);
    const LONG longRun = 40;
    LONG top = -1, bottom = -1;
    for (LONG y = region.top; y < region.bottom; ++y) {
        LONG run = 0, best = 0;
        for (LONG x = region.left; x < region.right; ++x) {
            run = DarkInk(pixels.at(x, y)) ? run + 1 : 0;
            best = std::max(best, run);
        }
        if (best >= longRun) {
            if (top < 0) top = y;
            bottom = y;
        }
    }
    if (top < 0 || bottom - top < 2) return false;
    LONG left = -1, right = -1;
    for (LONG x = region.left; x < region.right; ++x) {
        bool full = true;
        for (LONG y = top; y <= bottom && full; ++y) full = DarkInk(pixels.at(x, y));
        if (!full) continue;
        if (left < 0) left = x;
        right = x;
    }
    if (left < 0 || right - left < 2) return false;
    frame = {left, top, right + 1, bottom + 1};
    return true;
}

int Layout() {
    HWND dialog = FindWindowW(nullptr, L"<Ripplume>");
    if (!dialog) return 1;
    Controls c;
    EnumChildWindows(dialog, FindControls, reinterpret_cast<LPARAM>(&c));
    if (!c.panel || !c.combo || !c.file || !c.set || !c.cancel) {
        std::printf("controls missing\n");
        return 1;
    }
    const Pixels pixels = Capture(dialog);
    std::printf("client %d %d\n", pixels.width, pixels.height);
    std::printf("dpi %d\n", GetDeviceCaps(WindowDc().Get(), LOGPIXELSY));

    const RECT panel = ChildRect(dialog, c.panel);
    RECT panelInner = {};
    GetClientRect(c.panel, &panelInner);
    MapWindowPoints(c.panel, dialog, reinterpret_cast<POINT*>(&panelInner), 2);
    const RECT combo = ChildRect(dialog, c.combo), file = ChildRect(dialog, c.file);
    const RECT set = ChildRect(dialog, c.set), cancel = ChildRect(dialog, c.cancel);
    PrintRect("panel", panel);
    PrintRect("panel_inner", panelInner);
    PrintRect("repeat", combo);
    PrintRect("file", file);
    PrintRect("set", set);
    PrintRect("cancel", cancel);
    PrintCaption("file", c.file);
    PrintCaption("set", c.set);
    PrintCaption("cancel", c.cancel);

    // The "BGM" title and its frame: everything dark above the repeat box.
    const RECT title = {panelInner.left, panelInner.top, panelInner.right, combo.top};
    RECT frame = {};
    if (FindFrame(pixels, title, frame)) {
        PrintRect("frame", frame);
        PrintInk("bgm_text", pixels, {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1}, DarkInk);
        PrintInk("bgm_outside", pixels, title, DarkInk, &frame);
    } else {
        std::printf("rect frame none\n");
    }
    // The option rows, left of the repeat box and the file button.
    const LONG optionsRight = std::min(combo.left, file.left);
    PrintInk("options", pixels, {panelInner.left, combo.top, optionsRight, file.bottom}, DarkInk);
    PrintInk("cd_label", pixels, {panelInner.left, combo.top, combo.left, combo.bottom}, DarkInk);
    PrintInk("repeat_label", pixels, {combo.right, combo.top, panelInner.right, combo.bottom}, DarkInk);
    PrintInk("file_label", pixels, {panelInner.left, file.top, file.left, file.bottom}, DarkInk);
    PrintInk("file_name", pixels, {panelInner.left, file.bottom, panelInner.right, panelInner.bottom}, DarkInk);
    PrintInk("mark", pixels, {panelInner.left, panelInner.top, optionsRight, panelInner.bottom}, MarkBlue);
    // The credit line and the link, below the panel and left of the buttons.
    PrintInk("credit", pixels, {0, panel.bottom, set.left, pixels.height}, WhiteInk);
    PrintInk("caption_file", pixels, file, CaptionInk);
    PrintInk("caption_set", pixels, set, CaptionInk);
    PrintInk("caption_cancel", pixels, cancel, CaptionInk);
    return 0;
}

// ---- the program's manifest ----

void PrintSetting(const std::string& xml, const std::string& name, const std::string& space) {
    const size_t at = xml.find("<" + name + " ");
    const size_t open = at == std::string::npos ? at : xml.find('>', at);
    const size_t close = open == std::string::npos ? open : xml.find("</" + name + ">", open);
    if (close == std::string::npos) {
        std::printf("manifest %s none\n", name.c_str());
        return;
    }
    const bool namespaced = xml.substr(at, open - at).find("\"" + space + "\"") != std::string::npos;
    std::printf("manifest %s %s%s\n", name.c_str(), xml.substr(open + 1, close - open - 1).c_str(),
                namespaced ? "" : " outside-namespace");
}

int Manifest(const char* path) {
    HMODULE program = LoadLibraryExW(Widen(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) {
        std::printf("manifest unreadable\n");
        return 1;
    }
    // Id 1 of RT_MANIFEST is the one read when the program's process starts.
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!text) {
        std::printf("manifest none\n");
        FreeLibrary(program);
        return 0;
    }
    const std::string xml(text, SizeofResource(program, found));
    FreeLibrary(program);
    // "<NAME xmlns=...NAMESPACE">VALUE</NAME>"; Windows ignores the
    // setting outside its namespace.
    PrintSetting(xml, "dpiAware", "http://schemas.microsoft.com/SMI/2005/WindowsSettings");
    PrintSetting(xml, "dpiAwareness", "http://schemas.microsoft.com/SMI/2016/WindowsSettings");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SetProcessDPIAware();
    if (argc == 2 && std::string(argv[1]) == "state") return State();
    if (argc == 2 && std::string(argv[1]) == "chooser") return Chooser();
    if (argc == 2 && std::string(argv[1]) == "layout") return Layout();
    if (argc == 3 && std::string(argv[1]) == "manifest") return Manifest(argv[2]);
    std::fprintf(stderr, "usage: dialog_probe state|chooser|layout|manifest FILE\n");
    return 2;
}
