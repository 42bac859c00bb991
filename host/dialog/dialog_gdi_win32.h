// Drawing helpers of the settings dialog: persistent images (what a window
// keeps of its drawing, repainted from memory) and windowless text labels.
#pragma once
#include <windows.h>

#include <string>

// A memory picture the size of a window's inner area. Drawing goes into it;
// WM_PAINT copies it to the screen.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    int width = 0;
    int height = 0;
};

// (Re)makes the surface at the given size, filled with the background colour.
bool MakeSurface(Surface& surface, int width, int height, COLORREF background);
void FreeSurface(Surface& surface);

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

// A font of the given point size for the screen's resolution.
HFONT MakeFont(const wchar_t* face, double points, BYTE charset, bool underline);
