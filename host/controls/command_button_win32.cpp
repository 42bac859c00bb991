// Command button, Win32 side: a child window that draws its face into a
// persistent off-screen image and turns messages into the reactions of
// button_logic.h.
//
//  [X] gradient (GradientFill) + eight stretched ring pieces of a face picture,
//      the ring as wide in twips at any display resolution
//  [X] caption centred across, greyed when disabled, transparent background
//  [X] hover polled by a 100 ms timer (WindowFromPoint), mouse capture
//      while a button is held, focus taken on a left press
//  [X] Click as WM_COMMAND / BN_CLICKED to the parent
//  [ ] keyboard: none, by design (Enter and Space do nothing)
#include "host/controls/command_button_win32.h"

#include <string>

#include "host/controls/button_logic.h"
#include "host/controls/command_button_res.h"
#include "host/common/gdi_object_win32.h"
#include "host/common/memory_canvas_win32.h"
#include "host/common/screen_dpi_win32.h"

namespace {

const wchar_t ClassName[] = L"RipplumeCommand";
const UINT_PTR TmrMouse = 1;
// "ＭＳ Ｐゴシック"
const wchar_t DefaultFontName[] = L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF";
const int DefaultFontCentiPoints = 975;

// Face pictures, shared by all buttons, indexed by CommandFace.
OwnedBitmap FacePictures[7];
OwnedFont DefaultFont;

struct CommandWindow {
    HWND Hwnd = nullptr;
    CommandState State;
    MemoryCanvas Image;  // persistent image of the face
    int Width = 0, Height = 0;
    HFONT Font = nullptr;   // not owned
    int Dpi = ScreenDpi();  // of the monitor the button is on: sets the ring's and the caption's place
};

CommandWindow* From(HWND hwnd) {
    if (!IsCommandButton(hwnd)) return nullptr;
    return reinterpret_cast<CommandWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool LoadFacePictures(HINSTANCE instance) {
    const struct {
        CommandFace face;
        int id;
    } table[] = {
        {CommandFace::Normal, IDB_COMMAND_NORMAL},
        {CommandFace::HighLight, IDB_COMMAND_HIGHLIGHT},
        {CommandFace::Pressed, IDB_COMMAND_PRESSED},
        {CommandFace::Disable, IDB_COMMAND_DISABLE},
        {CommandFace::HighLightSelect, IDB_COMMAND_HIGHLIGHTSELECT},
        {CommandFace::Selected, IDB_COMMAND_SELECTED},
    };
    bool ok = true;
    for (const auto& entry : table) {
        OwnedBitmap& slot = FacePictures[static_cast<int>(entry.face)];
        if (!slot)
            slot.Reset(static_cast<HBITMAP>(
                LoadImageW(instance, MAKEINTRESOURCEW(entry.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ok = ok && slot;
    }
    return ok;
}

HFONT GetDefaultFont() {
    if (!DefaultFont) {
        LOGFONTW lf = {};
        lf.lfHeight = -MulDiv(DefaultFontCentiPoints, ScreenDpi(), 7200);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        lstrcpynW(lf.lfFaceName, DefaultFontName, LF_FACESIZE);
        DefaultFont.Reset(CreateFontIndirectW(&lf));
    }
    return DefaultFont.Get();
}

void MakeImage(CommandWindow& cw, int width, int height) {
    cw.Image = MemoryCanvas();
    cw.Width = width;
    cw.Height = height;
    const WindowDc screen(cw.Hwnd);
    cw.Image = MemoryCanvas::Compatible(screen.Get(), width, height);
}

void PaintGradient(CommandWindow& cw) {
    const auto vertices = GradientVertices(cw.State.GradientReversed, cw.Width, cw.Height);
    TRIVERTEX tv[2];
    for (int i = 0; i < 2; ++i)
        tv[i] = TRIVERTEX{vertices[i].X,     vertices[i].Y,    vertices[i].Red,
                          vertices[i].Green, vertices[i].Blue, vertices[i].Alpha};
    GRADIENT_RECT rect = {GradientUpperLeftIndex, GradientLowerRightIndex};
    GradientFill(cw.Image.Dc(), tv, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

void CopyRing(CommandWindow& cw, HBITMAP picture) {
    const MemoryCanvas source = MemoryCanvas::Viewing(cw.Image.Dc(), picture);
    if (!source) return;
    SetStretchBltMode(cw.Image.Dc(), COLORONCOLOR);
    for (const RingPiece& p : RingPiecesPixels(cw.Width, cw.Height, cw.Dpi))
        StretchBlt(cw.Image.Dc(), p.DestX, p.DestY, p.DestWidth, p.DestHeight, source.Dc(), p.SrcX, p.SrcY, p.SrcWidth,
                   p.SrcHeight, SRCCOPY);
}

// Draws the face into the persistent image and shows it at once.
void DrawFace(CommandWindow& cw, CommandFace face) {
    if (face == CommandFace::None || !cw.Image) return;
    UpdateGradientDirection(cw.State);
    RECT all = {0, 0, cw.Width, cw.Height};
    FillRect(cw.Image.Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    PaintGradient(cw);
    CopyRing(cw, FacePictures[static_cast<int>(face)].Get());
    InvalidateRect(cw.Hwnd, nullptr, FALSE);
    UpdateWindow(cw.Hwnd);
}

// The caption label: a strip the full width of the button, vertically
// centred on the line height of its font, text centred across.
void DrawLabel(CommandWindow& cw, HDC dc) {
    const int length = GetWindowTextLengthW(cw.Hwnd);
    if (length <= 0) return;
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    caption.resize(static_cast<size_t>(GetWindowTextW(cw.Hwnd, &caption[0], length + 1)));

    const SelectedObject font(dc, cw.Font ? cw.Font : GetDefaultFont());
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc, &tm);
    RECT strip = {0, LabelTopPixels(cw.Height, tm.tmHeight, cw.Dpi), cw.Width, cw.Height};
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_CENTER | DT_WORDBREAK;
    if (cw.State.LabelEnabled) {
        SetTextColor(dc, cw.State.FontColour);
        DrawTextW(dc, caption.c_str(), -1, &strip, format);
    } else {
        // The system's look of disabled text: an etched grey.
        RECT etch = strip;
        OffsetRect(&etch, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(dc, caption.c_str(), -1, &etch, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, caption.c_str(), -1, &strip, format);
    }
}

void OnPaint(CommandWindow& cw) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(cw.Hwnd, &ps);
    // Composed off screen so the caption does not flicker over the face.
    const MemoryCanvas compose = cw.Image ? MemoryCanvas::Compatible(dc, cw.Width, cw.Height) : MemoryCanvas();
    if (compose) {
        BitBlt(compose.Dc(), 0, 0, cw.Width, cw.Height, cw.Image.Dc(), 0, 0, SRCCOPY);
        DrawLabel(cw, compose.Dc());
        BitBlt(dc, 0, 0, cw.Width, cw.Height, compose.Dc(), 0, 0, SRCCOPY);
    }
    EndPaint(cw.Hwnd, &ps);
}

void RefreshLabel(CommandWindow& cw) {
    InvalidateRect(cw.Hwnd, nullptr, FALSE);
    UpdateWindow(cw.Hwnd);
}

void OnButtonDown(CommandWindow& cw, MouseButton button) {
    if (cw.State.Enabled == CommandFalse) return;
    SetCapture(cw.Hwnd);  // the release comes here even off the button
    DrawFace(cw, Command_MouseDown(cw.State, button));
    if (Command_TakesFocusOnPress(cw.State, button) && GetFocus() != cw.Hwnd) SetFocus(cw.Hwnd);
}

void OnButtonUp(CommandWindow& cw, MouseButton button, WPARAM keys) {
    const CommandReaction r = Command_MouseUp(cw.State, button);
    DrawFace(cw, r.Face);
    if (GetCapture() == cw.Hwnd && !(keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) ReleaseCapture();
    if (r.Click) {
        // Last: the parent may destroy this window while handling it.
        HWND hwnd = cw.Hwnd;
        const int id = GetDlgCtrlID(hwnd);
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
    }
}

void OnTimer(CommandWindow& cw) {
    POINT pointer;
    const bool over = GetCursorPos(&pointer) && WindowFromPoint(pointer) == cw.Hwnd;
    DrawFace(cw, Command_TimerTick(cw.State, over));
}

LRESULT CALLBACK CommandWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* cw = reinterpret_cast<CommandWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        cw = new CommandWindow;
        cw->Hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cw));
    }
    if (!cw) return DefWindowProcW(hwnd, msg, wParam, lParam);

    switch (msg) {
    case WM_CREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        MakeImage(*cw, cs->cx, cs->cy);
        DrawFace(*cw, Command_ReadProperties(cw->State));
        return 0;
    }
    case WM_SIZE:
        if (LOWORD(lParam) != cw->Width || HIWORD(lParam) != cw->Height) MakeImage(*cw, LOWORD(lParam), HIWORD(lParam));
        DrawFace(*cw, Command_Resize(cw->State));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint(*cw);
        return 0;
    case WM_MOUSEMOVE:
        DrawFace(*cw, Command_MouseMove(cw->State));
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(*cw, MouseButton::Left);
        return 0;
    case WM_RBUTTONDOWN:
        OnButtonDown(*cw, MouseButton::Right);
        return 0;
    case WM_MBUTTONDOWN:
        OnButtonDown(*cw, MouseButton::Middle);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(*cw, MouseButton::Left, wParam);
        return 0;
    case WM_RBUTTONUP:
        OnButtonUp(*cw, MouseButton::Right, wParam);
        return 0;
    case WM_MBUTTONUP:
        OnButtonUp(*cw, MouseButton::Middle, wParam);
        return 0;
    case WM_SETFOCUS:
        DrawFace(*cw, Command_GotFocus(cw->State));
        return 0;
    case WM_KILLFOCUS:
        DrawFace(*cw, Command_LostFocus(cw->State));
        return 0;
    case WM_TIMER:
        if (wParam == TmrMouse) OnTimer(*cw);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        RefreshLabel(*cw);
        return result;
    }
    case WM_SETFONT:
        cw->Font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) RefreshLabel(*cw);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(cw->Font ? cw->Font : GetDefaultFont());
    case WM_NCDESTROY:
        KillTimer(hwnd, TmrMouse);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete cw;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterCommandButtonClass(HINSTANCE instance) {
    const bool pictures = LoadFacePictures(instance);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, ClassName, &existing)) return pictures;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = CommandWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = ClassName;
    return RegisterClassExW(&wc) != 0 && pictures;
}

HWND CreateCommandButton(HWND parent, int id, const wchar_t* caption, int x, int y, int width, int height) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterCommandButtonClass(instance);
    // Without a caption the button shows what a layout with none stored reads back.
    return CreateWindowExW(0, ClassName, caption ? caption : L"Command1", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y,
                           width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void CommandButton_Initialize(HWND button) {
    CommandWindow* cw = From(button);
    if (!cw) return;
    Command_Initialize(cw->State);
    SetTimer(button, TmrMouse, MouseTimerInterval, nullptr);
}

void CommandButton_SetEnabled(HWND button, bool enabled) {
    CommandWindow* cw = From(button);
    if (!cw) return;
    DrawFace(*cw, Command_SetEnabled(cw->State, enabled));
}

bool CommandButton_GetEnabled(HWND button) {
    CommandWindow* cw = From(button);
    if (!cw) return false;
    CommandFace face = CommandFace::None;
    const bool enabled = Command_ReadEnabled(cw->State, face);
    DrawFace(*cw, face);
    return enabled;
}

bool IsCommandButton(HWND window) {
    wchar_t name[64];
    return window && GetClassNameW(window, name, 64) && lstrcmpW(name, ClassName) == 0;
}

void CommandButton_SetDpi(HWND button, int dpi) {
    CommandWindow* cw = From(button);
    if (!cw || dpi <= 0 || dpi == cw->Dpi) return;
    cw->Dpi = dpi;
    DrawFace(*cw, RefreshFace(cw->State));
    RefreshLabel(*cw);
}

void CommandButton_SetFontColour(HWND button, COLORREF colour) {
    CommandWindow* cw = From(button);
    if (!cw) return;
    cw->State.FontColour = colour;
    DrawFace(*cw, RefreshFace(cw->State));
    RefreshLabel(*cw);
}
