// The saver window Ripplume_S: the hidden window that carries a saver run.
// Creating it captures the screen, starts the renderer and the music; its
// timers keep the music going and watch for the renderer's window; when that
// has gone the run ends with the host process.
#pragma once
#include <windows.h>

#include <string>

constexpr const char* SaverWindowTitle = "Ripplume_Main";

// The renderer program beside the host: host folder + "\Ripplume.dll".
std::wstring RendererProgramPath();

// Creates the window without showing it and runs its load handler. Null when
// the window could not be made (nothing was started then).
HWND CreateSaverWindow(HINSTANCE instance);
