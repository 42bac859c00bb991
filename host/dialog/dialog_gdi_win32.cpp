#include "host/dialog/dialog_gdi_win32.h"

#include <cmath>

void DrawLabel(HDC dc, const Label& label) {
    if (label.Caption.empty()) return;
    const SelectedObject font(dc, label.Font);
    SetTextColor(dc, label.Colour);
    SetBkMode(dc, TRANSPARENT);
    RECT rect = label.Rect;
    DrawTextW(dc, label.Caption.c_str(), int(label.Caption.size()), &rect, label.Format);
}

void SizeLabelToText(Label& label) {
    const WindowDc screen;
    TEXTMETRICW metrics = {};
    RECT rect = {0, 0, 0, 0};
    {
        const SelectedObject font(screen.Get(), label.Font);
        GetTextMetricsW(screen.Get(), &metrics);
        if (!label.Caption.empty())
            DrawTextW(screen.Get(), label.Caption.c_str(), int(label.Caption.size()), &rect,
                      label.Format | DT_CALCRECT);
    }
    label.Rect.right = label.Rect.left + rect.right;
    label.Rect.bottom = label.Rect.top + metrics.tmHeight;
}

bool LabelContains(const Label& label, POINT point) {
    return PtInRect(&label.Rect, point) != FALSE;
}

OwnedFont MakeFont(const wchar_t* face, double points, int dpi, BYTE charset, bool underline) {
    const int height = -int(std::lround(points * dpi / 72.0));
    return OwnedFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, charset, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
}

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontInstalled(const wchar_t* face) {
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    const WindowDc screen;
    EnumFontFamiliesExW(screen.Get(), &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

}  // namespace

std::wstring CaptionFace(UiLanguage language, const wchar_t* const* japaneseFaces, size_t count, BYTE& charset) {
    if (language == UiLanguage::Japanese) {
        charset = SHIFTJIS_CHARSET;
        for (size_t i = 0; i < count; ++i)
            if (FontInstalled(japaneseFaces[i])) return japaneseFaces[i];
        return japaneseFaces[0];
    }
    charset = DEFAULT_CHARSET;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    const std::wstring message = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) &&
                                         metrics.lfMessageFont.lfFaceName[0]
                                     ? metrics.lfMessageFont.lfFaceName
                                     : L"Segoe UI";
    for (const wchar_t* face : {message.c_str(), L"Segoe UI", L"Tahoma"})
        if (FontInstalled(face)) return face;
    return message;
}
