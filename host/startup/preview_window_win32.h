// The preview window Ripplume_R: a still of the saver laid into the preview
// box of the system's screen-saver page.
#pragma once
#include <windows.h>

constexpr const wchar_t* PreviewWindowTitle = L"Preview Window";
constexpr const wchar_t* PreviewStillResource = L"PreviewStill";
constexpr int PreviewStillWidth = 152;
constexpr int PreviewStillHeight = 112;

// Creates the preview window, makes it a child of previewBox stretched over
// the box's size and shows it, the still scaled to fill it. Null when the window could not be made. The
// window ends the message loop (WM_QUIT) when it is destroyed.
HWND ShowPreview(HINSTANCE instance, HWND previewBox);
