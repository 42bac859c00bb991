// The settings dialog "<Ripplume>", shown modally for a settings request.
#pragma once
#include <windows.h>

// Shows the dialog and returns when it has closed (OK has then written the
// settings file). With an owner (the window that asked, "/c:HWND") the dialog
// is owned by it and modal to it: the owner is disabled while it is open.
void ShowSettingsDialog(HINSTANCE instance, HWND owner);
