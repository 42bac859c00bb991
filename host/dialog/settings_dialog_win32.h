// The settings dialog "<Ripplume>", shown modally for a settings request.
#pragma once
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

// Shows the dialog and returns when it has closed (OK has then written the settings file).
void ShowSettingsDialog(HINSTANCE instance);

// The system calls whose effect a test cannot see afterwards (the file chooser
// answered by a person, the web page opened in a browser); tests put
// recorders here, as they do for the zoom's animated rectangles.
struct DialogSystemCalls {
    BOOL(WINAPI* OpenFileName)(OPENFILENAMEW*) = GetOpenFileNameW;
    HINSTANCE(WINAPI* ShellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT) = ShellExecuteW;
};
extern DialogSystemCalls DialogCalls;
