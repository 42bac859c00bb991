// Drawing helpers of the settings dialog: windowless text labels and fonts.
// (Its persistent images are memory canvases, host/common/memory_canvas_win32.h.)
#pragma once
#include <windows.h>

#include <string>

#include "host/common/gdi_object_win32.h"
#include "host/common/ui_language.h"

// A label has no window: its owner draws it over the persistent image at
// every paint and tests the mouse against its rectangle.
struct Label {
    std::wstring Caption;
    RECT Rect = {};
    HFONT Font = nullptr;  // the owner's
    COLORREF Colour = RGB(0, 0, 0);
    UINT Format = DT_SINGLELINE | DT_NOPREFIX;
};

void DrawLabel(HDC dc, const Label& label);

// AutoSize: the label takes the size of its caption, keeping its top-left corner.
void SizeLabelToText(Label& label);

bool LabelContains(const Label& label, POINT point);

// The captions' face in the language: the first of the Japanese faces that is
// installed (else the first, which the font mapper stands in for by the
// Japanese character set), or for English the system's message font (Segoe UI
// on Windows 10 and 11; else Segoe UI or Tahoma, whichever is installed).
// charset receives the character set to ask for.
std::wstring CaptionFace(UiLanguage language, const wchar_t* const* japaneseFaces, size_t count, BYTE& charset);

// A font of the given point size at the given resolution.
OwnedFont MakeFont(const wchar_t* face, double points, int dpi, BYTE charset, bool underline);
