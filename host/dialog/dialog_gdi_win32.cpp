#include "host/dialog/dialog_gdi_win32.h"

#include <cmath>

#include "host/common/screen_dpi_win32.h"

bool MakeSurface(Surface& surface, int width, int height, COLORREF background) {
    FreeSurface(surface);
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    surface.dc = CreateCompatibleDC(screen);
    surface.bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (!surface.dc || !surface.bitmap) {
        FreeSurface(surface);
        return false;
    }
    surface.previous = SelectObject(surface.dc, surface.bitmap);
    surface.width = width;
    surface.height = height;
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(surface.dc, &all, brush);
    DeleteObject(brush);
    return true;
}

void FreeSurface(Surface& surface) {
    if (surface.dc && surface.previous) SelectObject(surface.dc, surface.previous);
    if (surface.bitmap) DeleteObject(surface.bitmap);
    if (surface.dc) DeleteDC(surface.dc);
    surface = Surface{};
}

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

HFONT MakeFont(const wchar_t* face, double points, BYTE charset, bool underline) {
    const int height = -int(std::lround(points * ScreenDpi() / 72.0));
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, charset, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}
