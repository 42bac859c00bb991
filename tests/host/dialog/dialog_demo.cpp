// Shows the settings dialog the way Main does for a settings request: the
// settings are loaded from Ripplume.ini beside this program first, and the
// program ends when the dialog has closed.
#include <windows.h>

#include "host/dialog/settings_dialog.h"
#include "host/startup/settings_file_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    LoadSettings();
    ShowSettingsDialog(instance);
    return 0;
}
