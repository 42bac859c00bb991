// Command: the host's owner-drawn push button (Win32 child window).
// The caption is the window text (SetWindowTextW); the caption font is set
// with WM_SETFONT (default "ＭＳ Ｐゴシック" 9.75 pt, Japanese character set).
#pragma once
#include <windows.h>

// Registers the window class once and loads the face pictures from the
// resources of `instance`; safe to call again.
bool RegisterCommandButtonClass(HINSTANCE instance);

// Creates a button as a child of parent. The rectangle is in pixels of the
// parent's client area. A press released over the button (Click) reaches the
// parent as WM_COMMAND with BN_CLICKED and the given id.
HWND CreateCommandButton(HWND parent, int id, const wchar_t* caption, int x, int y, int width, int height);

// Normal state and the 100 ms hover timer; the container calls it once after loading.
void CommandButton_Initialize(HWND button);

void CommandButton_SetEnabled(HWND button, bool enabled);
// Like the property it mirrors, reading redraws the enabled (or disabled) face.
bool CommandButton_GetEnabled(HWND button);
bool IsCommandButton(HWND window);

// The resolution of the monitor the button is on (the system's until set):
// the ring keeps its width in twips and the caption its place.
void CommandButton_SetDpi(HWND button, int dpi);

// Caption colour (black by default).
void CommandButton_SetFontColour(HWND button, COLORREF colour);
