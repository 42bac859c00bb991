// Drawing helpers of the settings dialog: windowless text labels and fonts.
// (Its persistent images are memory canvases, host/common/memory_canvas_win32.h.)
#pragma once
#include <windows.h>

#include <string>

// A label has no window: its owner draws it over the persistent image at
// every paint and tests the mouse against its rectangle.
struct Label {
    std::wstring caption;
    RECT rect = {};
    HFONT font = nullptr;
    COLORREF colour = RGB(0, 0, 0);
    UINT format = DT_SINGLELINE | DT_NOPREFIX;
};

void DrawLabel(HDC dc, const Label& label);

// AutoSize: the label takes the size of its caption, keeping its top-left corner.
void SizeLabelToText(Label& label);

bool LabelContains(const Label& label, POINT point);

// A font of the given point size at the given resolution.
HFONT MakeFont(const wchar_t* face, double points, int dpi, BYTE charset, bool underline);
