// The settings dialog "<Ripplume>", shown modally for a settings request.
#pragma once
#include <windows.h>

// Shows the dialog and returns when it has closed (OK has then written the settings file).
void ShowSettingsDialog(HINSTANCE instance);
