#include "host/dialog/dialog_gdi_win32.h"

#include <cmath>

void DrawLabel(HDC dc, const Label& label) {
    if (label.caption.empty()) return;
    HGDIOBJ oldFont = SelectObject(dc, label.font);
    SetTextColor(dc, label.colour);
    SetBkMode(dc, TRANSPARENT);
    RECT rect = label.rect;
    DrawTextW(dc, label.caption.c_str(), int(label.caption.size()), &rect, label.format);
    SelectObject(dc, oldFont);
}

void SizeLabelToText(Label& label) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(screen, label.font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen, &metrics);
    RECT rect = {0, 0, 0, 0};
    if (!label.caption.empty())
        DrawTextW(screen, label.caption.c_str(), int(label.caption.size()), &rect, label.format | DT_CALCRECT);
    SelectObject(screen, oldFont);
    ReleaseDC(nullptr, screen);
    label.rect.right = label.rect.left + rect.right;
    label.rect.bottom = label.rect.top + metrics.tmHeight;
}

bool LabelContains(const Label& label, POINT point) {
    return PtInRect(&label.rect, point) != FALSE;
}

HFONT MakeFont(const wchar_t* face, double points, int dpi, BYTE charset, bool underline) {
    const int height = -int(std::lround(points * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}
