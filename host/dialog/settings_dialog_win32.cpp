// The settings dialog Ripplume_P, titled "<Ripplume>": the user picks the
// background music (none, audio CD with a repeat track, or an MP3/WAV file)
// and OK writes it to the settings file.
//
//  [X] layout of the controls, converted from twips to pixels at the
//      resolution of the monitor the dialog is on, and again when it moves to
//      one of another resolution (pictures keep their own pixel size)
//  [X] Form_Load, Form_Resize (gradient), Form_Unload (zoom back)
//  [X] option marks and labels, repeat box, file chooser, OK, Cancel, link
//  [X] persistent images of the window and the panel; windowless labels
//  [X] modal: its own message loop, not in the taskbar (hidden owner window),
//      or owned by and modal to the window that asked for it (/c:HWND)
//
// Its captions are in the user's language, Japanese or English, from the
// string tables; all UI text goes through the wide-character calls, so they
// show whatever the system's code page. The window works on the host-wide
// Settings, which Main has loaded before showing it.
#include "host/dialog/settings_dialog_win32.h"

#include <iterator>
#include <string>

#include "host/controls/command_button_win32.h"
#include "host/common/ansi_text_win32.h"
#include "host/common/host_texts_win32.h"
#include "host/common/memory_canvas_win32.h"
#include "host/common/screen_dpi_win32.h"
#include "host/dialog/dialog_art.h"
#include "host/dialog/dialog_gdi_win32.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/dialog_resources.h"
#include "host/dialog/dialog_system_win32.h"
#include "host/startup/settings.h"
#include "host/startup/settings_file_win32.h"
#include "host/startup/settings_values.h"
#include "host/startup/zoom_win32.h"

namespace {

struct SystemDialogCalls : DialogSystem {
    BOOL OpenFileName(OPENFILENAMEW* request) override { return GetOpenFileNameW(request); }
    HINSTANCE OpenWebPage(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                          INT show) override {
        return ShellExecuteW(owner, verb, file, parameters, folder, show);
    }
} SystemDialog;

}  // namespace

DialogSystem* DialogCalls = &SystemDialog;

namespace {

constexpr wchar_t DialogClass[] = L"Ripplume_P";
constexpr wchar_t PanelClass[] = L"Ripplume_P_Pic";
constexpr wchar_t OwnerClass[] = L"Ripplume_P_Owner";

constexpr COLORREF DialogBackground = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF PanelBackground = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF White = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF Black = RGB(0, 0, 0);

constexpr int RepeatListTwips = 3000;  // the repeat box's drop-down list (200 pixels at 96 dpi)

// The captions that differ by language.
struct DialogTexts {
    std::wstring Options[3];  // by BgmKind
    std::wstring Section, Repeat, Set, Cancel;
    std::wstring ChooserTitle;
    std::wstring ChooserFilter;  // its parts separated by NULs, ending in two
};

DialogTexts LoadDialogTexts() {
    DialogTexts texts;
    texts.Options[BgmNone] = LoadText(IDS_OPTION_NONE);
    texts.Options[BgmAudioCd] = LoadText(IDS_OPTION_CD);
    texts.Options[BgmMusicFile] = LoadText(IDS_OPTION_FILE);
    texts.Section = LoadText(IDS_SECTION);
    texts.Repeat = LoadText(IDS_REPEAT);
    texts.Set = LoadText(IDS_SET);
    texts.Cancel = LoadText(IDS_CANCEL);
    texts.ChooserTitle = LoadText(IDS_CHOOSER_TITLE);
    texts.ChooserFilter = LoadText(IDS_CHOOSER_FILTER);
    for (wchar_t& c : texts.ChooserFilter)
        if (c == L'|') c = L'\0';
    texts.ChooserFilter.append(2, L'\0');
    return texts;
}

// The one dialog of a host process.
struct DialogState {
    HINSTANCE Instance = nullptr;
    DialogTexts Texts;
    HWND Owner = nullptr;    // the hidden owner of a dialog nobody asked for
    HWND AskedBy = nullptr;  // the window that asked for it, disabled while it is open
    HWND Window = nullptr;
    HWND Panel = nullptr;      // Pic_C
    HWND BgmRepeat = nullptr;  // BGM_Repeat
    HWND CmdFile = nullptr;
    HWND CmdSet = nullptr;
    HWND CmdCan = nullptr;

    OwnedFont LabelFont;
    OwnedFont UrlFont;
    OwnedFont PanelFont;
    HICON Icon = nullptr;
    HICON SmallIcon = nullptr;
    HCURSOR Hand = nullptr;

    MemoryCanvas FormImage;                           // the window's persistent image
    MemoryCanvas PanelImage;                          // Pic_C's persistent image
    MemoryCanvas PicMbl;                              // the texture strip
    OwnedBitmap ImgRa[2];                             // mark pictures: not chosen, chosen
    HBITMAP ImgBgm[3] = {nullptr, nullptr, nullptr};  // each one of ImgRa

    Label Lbl7, LblUrl;                       // on the window
    Label Lbl15, Lbl14, LblFname, LblBgm[3];  // in the panel
    RECT Shape3 = {};

    int Dpi = 96;             // of the monitor the dialog is on
    bool WaitCursor = false;  // the application-wide hourglass
    bool UrlPressed = false;
    bool Unloaded = false;
};

DialogState Dlg;

// IDC_ names are narrow without UNICODE; the resource number is the same.
HCURSOR SystemCursor(LPCSTR id) {
    return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(id));
}

// WM_SETCURSOR: the hourglass, while shown, wins over every other pointer.
bool ShowWaitCursor() {
    if (Dlg.WaitCursor) SetCursor(SystemCursor(IDC_WAIT));
    return Dlg.WaitCursor;
}

RECT PixelBox(const TwipsBox& box) {
    const PixelRect r = TwipsRect(box.Left, box.Top, box.Width, box.Height, Dlg.Dpi);
    return {r.Left, r.Top, r.Left + r.Width, r.Top + r.Height};
}

Label MakeLabel(const TwipsBox& box, const std::wstring& caption, HFONT font, COLORREF colour, UINT format,
                bool autoSize) {
    Label label;
    label.Caption = caption;
    label.Rect = PixelBox(box);
    label.Font = font;
    label.Colour = colour;
    label.Format = format;
    if (autoSize) SizeLabelToText(label);
    return label;
}

// An option mark shows its picture at the picture's own size.
RECT MarkRect(int index) {
    RECT rect = PixelBox(ImgBgm[index]);
    BITMAP info = {};
    if (Dlg.ImgBgm[index] && GetObjectW(Dlg.ImgBgm[index], sizeof info, &info)) {
        rect.right = rect.left + info.bmWidth;
        rect.bottom = rect.top + info.bmHeight;
    }
    return rect;
}

// The option under a point of the panel (mark or label), or -1.
int OptionAt(POINT point) {
    for (int i = 0; i < 3; ++i) {
        const RECT mark = MarkRect(i);
        if (PtInRect(&mark, point) || LabelContains(Dlg.LblBgm[i], point)) return i;
    }
    return -1;
}

void SetAppWaitCursor(bool wait) {
    Dlg.WaitCursor = wait;
    if (wait) {
        SetCursor(SystemCursor(IDC_WAIT));
        return;
    }
    POINT point = {};
    GetCursorPos(&point);
    HWND under = WindowFromPoint(point);
    ScreenToClient(Dlg.Window, &point);
    const bool overLink = under == Dlg.Window && LabelContains(Dlg.LblUrl, point);
    SetCursor(overLink ? Dlg.Hand : SystemCursor(IDC_ARROW));
}

void ShowMarks(int chosen) {
    for (HBITMAP& picture : Dlg.ImgBgm) picture = Dlg.ImgRa[0].Get();
    if (chosen >= 0 && chosen <= 2) Dlg.ImgBgm[chosen] = Dlg.ImgRa[1].Get();
    InvalidateRect(Dlg.Panel, nullptr, FALSE);
}

// ---- procedures of the dialog ----

BOOL CALLBACK InitializeIfCommand(HWND child, LPARAM) {
    if (IsCommandButton(child)) CommandButton_Initialize(child);
    return TRUE;
}

// Every Command on the container (the panel's too), in window order.
void InitCommandButtons(HWND container) {
    EnumChildWindows(container, InitializeIfCommand, 0);
}

void TilePanel(HWND surface, const MemoryCanvas& image) {
    RECT outer = {};
    GetWindowRect(surface, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const MemoryCanvas& strip = Dlg.PicMbl;
    for (const TileSpot& spot : TilePositions(strip.Width(), strip.Height(), width, height))
        BitBlt(image.Dc(), spot.X, spot.Y, strip.Width(), strip.Height(), strip.Dc(), 0, 0, SRCCOPY);
    InvalidateRect(surface, nullptr, FALSE);
}

// ---- event handlers ----

void Form_Resize() {
    RECT inner = {};
    GetClientRect(Dlg.Window, &inner);
    Dlg.FormImage = MemoryCanvas::Compatible(nullptr, inner.right, inner.bottom);
    if (!Dlg.FormImage) return;
    Dlg.FormImage.Fill(DialogBackground);
    const std::vector<GradientRow> rows = GradientRows(inner.bottom);
    // The context's own brush takes each row's colour: no brush is made.
    const HBRUSH rowBrush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (size_t y = 0; y < rows.size(); ++y) {
        const RECT line = {0, LONG(y), inner.right, LONG(y) + 1};
        SetDCBrushColor(Dlg.FormImage.Dc(), RGB(rows[y].Red, rows[y].Green, rows[y].Blue));
        FillRect(Dlg.FormImage.Dc(), &line, rowBrush);
    }
    InvalidateRect(Dlg.Window, nullptr, FALSE);
}

void Form_Load() {
    const HostSettings& s = Settings;

    RECT outer = {};
    GetWindowRect(Dlg.Window, &outer);
    const PixelPoint origin = DialogOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                           outer.right - outer.left, outer.bottom - outer.top, Dlg.Dpi);
    SetWindowPos(Dlg.Window, nullptr, origin.X, origin.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    InitCommandButtons(Dlg.Window);
    TilePanel(Dlg.Panel, Dlg.PanelImage);
    EnableWindow(Dlg.BgmRepeat, FALSE);
    ShowMarks(s.BgmKind);
    if (s.BgmKind == BgmAudioCd) EnableWindow(Dlg.BgmRepeat, TRUE);
    CommandButton_SetEnabled(Dlg.CmdFile, s.BgmKind == BgmMusicFile);

    SetWindowTextW(Dlg.BgmRepeat, FormatHashHash(s.BgmRepeat).c_str());
    for (int i = 0; i <= RepeatListLast; ++i)
        SendMessageW(Dlg.BgmRepeat, CB_ADDSTRING, 0, LPARAM(FormatHashHash(i).c_str()));

    Dlg.LblFname.Caption = s.BgmFile;
    InvalidateRect(Dlg.Panel, nullptr, FALSE);

    POINT cursor = {};
    if (GetCursorPos(&cursor)) {
        Zoom.ZoomOriginX = int16_t(cursor.x);
        Zoom.ZoomOriginY = int16_t(cursor.y);
    } else {
        Zoom.ZoomOriginX = 0;
        Zoom.ZoomOriginY = 0;
    }
    ZoomOpen(Dlg.Window);
    SetAppWaitCursor(false);
}

void Form_Unload() {
    if (Dlg.Unloaded) return;
    Dlg.Unloaded = true;
    ZoomClose(Dlg.Window);
}

// The asking window is enabled again before the dialog goes, so Windows
// hands the activation back to it.
void GiveBackAskingWindow() {
    if (Dlg.AskedBy) EnableWindow(Dlg.AskedBy, TRUE);
}

void CloseDialog() {
    Form_Unload();
    GiveBackAskingWindow();
    DestroyWindow(Dlg.Window);
}

// Img_BGM_MouseDown and lbl_BGM_MouseDown share this body; any button counts.
void OptionMouseDown(int index) {
    Settings.BgmKind = int16_t(index);
    CommandButton_SetEnabled(Dlg.CmdFile, false);
    EnableWindow(Dlg.BgmRepeat, FALSE);
    ShowMarks(index);
    if (index == BgmAudioCd) EnableWindow(Dlg.BgmRepeat, TRUE);
    if (index == BgmMusicFile) CommandButton_SetEnabled(Dlg.CmdFile, true);
}

void Img_BGM_MouseDown(int index) {
    OptionMouseDown(index);
}
void lbl_BGM_MouseDown(int index) {
    OptionMouseDown(index);
}

void Cmd_File_Click() {
    std::wstring fileName(ChooserBufferSize + 1, L'\0');
    std::wstring fileTitle(ChooserBufferSize + 1, L'\0');
    OPENFILENAMEW chooser = {};
    chooser.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    chooser.hwndOwner = Dlg.Window;
    chooser.hInstance = Dlg.Instance;
    chooser.lpstrFilter = Dlg.Texts.ChooserFilter.c_str();
    chooser.lpstrFile = &fileName[0];
    chooser.nMaxFile = ChooserBufferSize;
    chooser.lpstrFileTitle = &fileTitle[0];
    chooser.nMaxFileTitle = ChooserBufferSize;
    chooser.lpstrInitialDir = Settings.BgmFolder.c_str();
    chooser.lpstrTitle = Dlg.Texts.ChooserTitle.c_str();
    chooser.Flags = 0;
    if (DialogCalls->OpenFileName(&chooser) <= 0) return;
    fileName.resize(fileName.find(L'\0'));

    // The settings file holds names in the system's code page; a name it
    // cannot hold, without a short name, would be lost at OK without a word.
    if (AnsiSafePath(fileName).empty()) {
        MessageBoxW(Dlg.Window, LoadText(IDS_NAME_NOT_STORABLE).c_str(), L"Ripplume", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Settings.BgmFile = fileName;
    Dlg.LblFname.Caption = Settings.BgmFile;
    InvalidateRect(Dlg.Panel, nullptr, FALSE);
    Settings.BgmFolder = DirectoryOf(Settings.BgmFile);
}

void Cmd_Set_Click() {
    const int length = GetWindowTextLengthW(Dlg.BgmRepeat);
    std::wstring repeatText(size_t(length) + 1, L'\0');
    repeatText.resize(size_t(GetWindowTextW(Dlg.BgmRepeat, repeatText.data(), length + 1)));
    SaveSettings(repeatText);
    CloseDialog();
}

void Cmd_Can_Click() {
    CloseDialog();
}

void lbl_URL_Click() {
    SetAppWaitCursor(true);
    DialogCalls->OpenWebPage(Dlg.Window, L"open", Dlg.LblUrl.Caption.c_str(), L"", L"", SW_SHOWNORMAL);
    SetAppWaitCursor(false);
}

// ---- windows ----

void PaintFrom(HWND window, const MemoryCanvas& image, void (*drawOver)(HDC)) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT inner = {};
    GetClientRect(window, &inner);
    // Drawn off screen first, so labels never flicker.
    const MemoryCanvas frame = MemoryCanvas::Compatible(nullptr, inner.right, inner.bottom);
    if (frame) {
        frame.Fill(RGB(0, 0, 0));
        if (image) BitBlt(frame.Dc(), 0, 0, image.Width(), image.Height(), image.Dc(), 0, 0, SRCCOPY);
        drawOver(frame.Dc());
        BitBlt(dc, 0, 0, inner.right, inner.bottom, frame.Dc(), 0, 0, SRCCOPY);
    }
    EndPaint(window, &paint);
}

void DrawFormLabels(HDC dc) {
    DrawLabel(dc, Dlg.Lbl7);
    DrawLabel(dc, Dlg.LblUrl);
}

void DrawPanelContents(HDC dc) {
    {
        const SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
        const SelectedObject black(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, Dlg.Shape3.left, Dlg.Shape3.top, Dlg.Shape3.right, Dlg.Shape3.bottom);
    }

    for (int i = 0; i < 3; ++i) {
        const MemoryCanvas picture = MemoryCanvas::Viewing(dc, Dlg.ImgBgm[i]);
        if (!picture) continue;
        const RECT mark = MarkRect(i);
        BitBlt(dc, mark.left, mark.top, mark.right - mark.left, mark.bottom - mark.top, picture.Dc(), 0, 0, SRCCOPY);
    }

    DrawLabel(dc, Dlg.Lbl15);
    DrawLabel(dc, Dlg.Lbl14);
    for (const Label& label : Dlg.LblBgm) DrawLabel(dc, label);
    DrawLabel(dc, Dlg.LblFname);
}

POINT PointOf(LPARAM lParam) {
    return {short(LOWORD(lParam)), short(HIWORD(lParam))};
}

void Clicked(int id) {
    switch (id) {
    case IdCmdFile:
        Cmd_File_Click();
        break;
    case IdCmdSet:
        Cmd_Set_Click();
        break;
    case IdCmdCan:
        Cmd_Can_Click();
        break;
    default:
        break;  // IDOK / IDCANCEL from Enter and Escape: the dialog has no default buttons
    }
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintFrom(window, Dlg.PanelImage, DrawPanelContents);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: {
        const POINT point = PointOf(lParam);
        const int option = OptionAt(point);
        if (option < 0) return 0;
        const RECT mark = MarkRect(option);
        if (PtInRect(&mark, point))
            Img_BGM_MouseDown(option);
        else
            lbl_BGM_MouseDown(option);
        return 0;
    }
    case WM_SETCURSOR:
        if (ShowWaitCursor()) return TRUE;
        break;
    case WM_COMMAND:  // Cmd_File and the repeat box report to the panel, their container
        if (HIWORD(wParam) == BN_CLICKED && lParam) Clicked(LOWORD(wParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The control's rectangle, moved right as far as needed to keep the gap after the label.
RECT AfterLabel(RECT control, const Label& label, int gap) {
    const int shift = label.Rect.right + gap - control.left;
    if (shift > 0) OffsetRect(&control, shift, 0);
    return control;
}

// Puts every control, label and picture where the layout says, at the
// dialog's resolution: when the controls are made, and again when the dialog
// reaches a monitor of another resolution.
void PlaceControls() {
    const auto place = [](HWND control, const RECT& r, HFONT font) {
        SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, WPARAM(font), TRUE);
        CommandButton_SetDpi(control, Dlg.Dpi);
    };
    const RECT pic = PixelBox(PicC);
    SetWindowPos(Dlg.Panel, nullptr, pic.left, pic.top, pic.right - pic.left, pic.bottom - pic.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT panelInner = {};
    GetClientRect(Dlg.Panel, &panelInner);
    Dlg.PanelImage = MemoryCanvas::Compatible(nullptr, panelInner.right, panelInner.bottom);
    Dlg.PanelImage.Fill(PanelBackground);

    Dlg.Shape3 = PixelBox(Shape3);
    const UINT single = DT_SINGLELINE | DT_NOPREFIX;
    Dlg.Lbl15 = MakeLabel(Lbl15, Dlg.Texts.Section, Dlg.LabelFont.Get(), Black, single | DT_CENTER, false);
    for (int i = 0; i < 3; ++i)
        Dlg.LblBgm[i] = MakeLabel(LblBgm[i], Dlg.Texts.Options[i], Dlg.LabelFont.Get(), Black, single, true);
    Dlg.Lbl14 = MakeLabel(Lbl14, Dlg.Texts.Repeat, Dlg.LabelFont.Get(), Black, single, true);
    // Two lines; long paths without blanks break between characters.
    Dlg.LblFname = MakeLabel(LblFname, Dlg.LblFname.Caption, Dlg.LabelFont.Get(), Black,
                             DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX, false);
    Dlg.Lbl7 = MakeLabel(Lbl7, CreditLine, Dlg.LabelFont.Get(), White, single, true);
    Dlg.LblUrl = MakeLabel(LblUrl, MakerUrl, Dlg.UrlFont.Get(), White, single, true);

    // A caption longer than the design's moves the control after it along
    // its row; the repeat box's own label follows the box.
    const int gap = TwipsToPixels(RowGapTwips, Dlg.Dpi);
    RECT repeat = AfterLabel(PixelBox(BgmRepeatBox), Dlg.LblBgm[BgmAudioCd], gap);
    const int labelShift = repeat.right - PixelBox(BgmRepeatBox).right;
    OffsetRect(&Dlg.Lbl14.Rect, labelShift, 0);
    repeat.bottom = repeat.top + TwipsToPixels(RepeatListTwips, Dlg.Dpi);
    place(Dlg.BgmRepeat, repeat, Dlg.PanelFont.Get());
    place(Dlg.CmdFile, AfterLabel(PixelBox(CmdFile), Dlg.LblBgm[BgmMusicFile], gap), Dlg.LabelFont.Get());
    place(Dlg.CmdSet, PixelBox(CmdSet), Dlg.LabelFont.Get());
    place(Dlg.CmdCan, PixelBox(CmdCan), Dlg.LabelFont.Get());
}

void CreateControls(HWND window) {
    Dlg.Window = window;
    Dlg.Panel = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, PanelClass, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, window, nullptr,
                                Dlg.Instance, nullptr);
    Dlg.BgmRepeat = CreateWindowExW(0, L"COMBOBOX", L"",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0,
                                    0, 0, 0, Dlg.Panel, HMENU(INT_PTR(IdBgmRepeat)), Dlg.Instance, nullptr);
    Dlg.CmdFile = CreateCommandButton(Dlg.Panel, IdCmdFile, FileButtonCaption, 0, 0, 0, 0);
    Dlg.CmdSet = CreateCommandButton(window, IdCmdSet, Dlg.Texts.Set.c_str(), 0, 0, 0, 0);
    Dlg.CmdCan = CreateCommandButton(window, IdCmdCan, Dlg.Texts.Cancel.c_str(), 0, 0, 0, 0);
    PlaceControls();
}

// Makes the inner area width x height pixels, the window's top-left corner at
// (left, top). The frame is measured, not computed, so it is right at any
// resolution of the frame's own.
void SizeInnerArea(int width, int height, int left, int top) {
    const DWORD style = DWORD(GetWindowLongPtrW(Dlg.Window, GWL_STYLE));
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    SetWindowPos(Dlg.Window, nullptr, left, top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT inner = {}, outer = {};
    GetClientRect(Dlg.Window, &inner);
    GetWindowRect(Dlg.Window, &outer);
    if (inner.right != width || inner.bottom != height)
        SetWindowPos(Dlg.Window, nullptr, left, top, outer.right - outer.left + width - inner.right,
                     outer.bottom - outer.top + height - inner.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MakeFonts();

// WM_DPICHANGED: the dialog is now on a monitor of another resolution. It is
// laid out afresh at that resolution where the system suggests.
void ChangeDpi(int dpi, const RECT* suggested) {
    if (dpi <= 0 || dpi == Dlg.Dpi) return;
    // The old fonts go only once the controls have the new ones; without all
    // three new ones, the old ones stay on.
    OwnedFont oldLabel = std::move(Dlg.LabelFont), oldUrl = std::move(Dlg.UrlFont), oldPanel = std::move(Dlg.PanelFont);
    const int oldDpi = Dlg.Dpi;
    Dlg.Dpi = dpi;
    if (!MakeFonts()) {
        Dlg.Dpi = oldDpi;
        Dlg.LabelFont = std::move(oldLabel), Dlg.UrlFont = std::move(oldUrl), Dlg.PanelFont = std::move(oldPanel);
        return;
    }
    PlaceControls();
    RECT outer = {};
    GetWindowRect(Dlg.Window, &outer);
    const RECT& at = suggested ? *suggested : outer;
    SizeInnerArea(TwipsToPixels(InnerWidthTwips, dpi), TwipsToPixels(InnerHeightTwips, dpi), at.left, at.top);
    TilePanel(Dlg.Panel, Dlg.PanelImage);
    InvalidateRect(Dlg.Window, nullptr, FALSE);
}

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls(window);
        return 0;
    case WM_SIZE:
        Form_Resize();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintFrom(window, Dlg.FormImage, DrawFormLabels);
        return 0;
    case WM_SETCURSOR:
        if (ShowWaitCursor()) return TRUE;
        if (HWND(wParam) == window && LOWORD(lParam) == HTCLIENT) {
            POINT point = {};
            GetCursorPos(&point);
            ScreenToClient(window, &point);
            if (LabelContains(Dlg.LblUrl, point)) {
                SetCursor(Dlg.Hand);
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONDOWN:
        if (LabelContains(Dlg.LblUrl, PointOf(lParam))) {
            Dlg.UrlPressed = true;
            SetCapture(window);
        }
        return 0;
    case WM_LBUTTONUP:
        if (Dlg.UrlPressed) {
            Dlg.UrlPressed = false;
            ReleaseCapture();
            if (LabelContains(Dlg.LblUrl, PointOf(lParam))) lbl_URL_Click();
        }
        return 0;
    case WM_CAPTURECHANGED:
        Dlg.UrlPressed = false;
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam) Clicked(LOWORD(wParam));
        return 0;
    case WM_DPICHANGED:
        ChangeDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        CloseDialog();
        return 0;
    case WM_ENDSESSION:
        if (wParam) CloseDialog();
        return 0;
    case WM_DESTROY:
        Form_Unload();  // covers a window destroyed without WM_CLOSE
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool LoadPictures(HINSTANCE instance) {
    Dlg.Icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_RIPPLUME));
    Dlg.SmallIcon = HICON(LoadImageW(instance, MAKEINTRESOURCEW(IDI_RIPPLUME), IMAGE_ICON,
                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    Dlg.Hand = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_LINK_HAND));
    if (!Dlg.Hand) Dlg.Hand = SystemCursor(IDC_HAND);
    Dlg.ImgRa[0].Reset(HBITMAP(LoadImageW(instance, MAKEINTRESOURCEW(IDB_MARK_OFF), IMAGE_BITMAP, 0, 0, 0)));
    Dlg.ImgRa[1].Reset(HBITMAP(LoadImageW(instance, MAKEINTRESOURCEW(IDB_MARK_ON), IMAGE_BITMAP, 0, 0, 0)));

    // Pic_Mbl is exactly the size of its strip.
    Dlg.PicMbl = MemoryCanvas::Owning(
        nullptr, HBITMAP(LoadImageW(instance, MAKEINTRESOURCEW(IDB_PANEL_TEXTURE), IMAGE_BITMAP, 0, 0, 0)));

    return MakeFonts();
}

bool MakeFonts() {
    BYTE charset = DEFAULT_CHARSET;
    const std::wstring face = CaptionFace(HostLanguage(), JapaneseLabelFaces, std::size(JapaneseLabelFaces), charset);
    Dlg.LabelFont = MakeFont(face.c_str(), LabelPoints, Dlg.Dpi, charset, false);
    Dlg.UrlFont = MakeFont(face.c_str(), LabelPoints, Dlg.Dpi, charset, true);
    Dlg.PanelFont = MakeFont(PanelFace, PanelPoints, Dlg.Dpi, DEFAULT_CHARSET, false);
    return Dlg.LabelFont && Dlg.UrlFont && Dlg.PanelFont;
}

void RegisterClasses(HINSTANCE instance) {
    WNDCLASSEXW dialog = {};
    dialog.cbSize = sizeof dialog;
    dialog.lpfnWndProc = DialogProc;
    dialog.hInstance = instance;
    dialog.hIcon = Dlg.Icon;
    dialog.hIconSm = Dlg.SmallIcon;
    dialog.hCursor = SystemCursor(IDC_ARROW);
    dialog.lpszClassName = DialogClass;
    RegisterClassExW(&dialog);  // fails harmlessly when a previous dialog registered it

    WNDCLASSEXW panel = dialog;
    panel.lpfnWndProc = PanelProc;
    panel.hIcon = nullptr;
    panel.hIconSm = nullptr;
    panel.lpszClassName = PanelClass;
    RegisterClassExW(&panel);

    WNDCLASSEXW owner = panel;
    owner.lpfnWndProc = DefWindowProcW;
    owner.lpszClassName = OwnerClass;
    RegisterClassExW(&owner);

    RegisterCommandButtonClass(instance);
}

}  // namespace

void ShowSettingsDialog(HINSTANCE instance, HWND owner) {
    Dlg = DialogState{};
    Dlg.Instance = instance;
    Dlg.Texts = LoadDialogTexts();
    // It opens in the middle of the primary monitor, at that monitor's resolution.
    Dlg.Dpi = DpiAt(POINT{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2});
    if (!LoadPictures(instance)) {
        Dlg = DialogState{};  // what was loaded goes with it
        return;
    }
    RegisterClasses(instance);

    // An owned window stays out of the taskbar; a hidden owner is never shown.
    if (owner == nullptr) {
        Dlg.Owner = CreateWindowExW(0, OwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    HWND window = CreateWindowExW(0, DialogClass, DialogTitle, style, 0, 0, 0, 0, owner ? owner : Dlg.Owner, nullptr,
                                  instance, nullptr);
    if (!window) {
        if (Dlg.Owner) DestroyWindow(Dlg.Owner);
        Dlg = DialogState{};
        return;
    }

    SizeInnerArea(TwipsToPixels(InnerWidthTwips, Dlg.Dpi), TwipsToPixels(InnerHeightTwips, Dlg.Dpi), 0, 0);
    SendMessageW(window, WM_SETICON, ICON_BIG, LPARAM(Dlg.Icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, LPARAM(Dlg.SmallIcon));

    Form_Load();
    if (owner != nullptr && EnableWindow(owner, FALSE) == FALSE) {
        Dlg.AskedBy = owner;  // it was enabled: it is ours to enable again
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetFocus(Dlg.Panel);  // the lowest tab index, as the form starts

    MSG message;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {  // pass a quit request on to the caller's loop
            PostQuitMessage(int(message.wParam));
            break;
        }
        if (got == -1) break;
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    GiveBackAskingWindow();
    if (IsWindow(window)) DestroyWindow(window);
    if (Dlg.Owner) DestroyWindow(Dlg.Owner);
    Dlg = DialogState{};  // its fonts, pictures and images go with it
}
