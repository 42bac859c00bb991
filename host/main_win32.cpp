// Ripplume.scr: the host's entry. Main picks the mode from the command line
// and hands over to the preview window, the settings dialog or the hidden
// saver window; the message loop then runs for as long as a window needs it.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "handover/hand_over.h"
#include "handover/hand_over_win32.h"
#include "host/common/host_texts_win32.h"
#include "host/host_resources.h"
#include "host/dialog/dialog_layout.h"
#include "host/dialog/settings_dialog_win32.h"
#include "host/startup/command_line.h"
#include "host/startup/preview_window_win32.h"
#include "host/startup/saver_window_win32.h"
#include "host/startup/settings_file_win32.h"
#include "host/startup/settings_values.h"
#include "host/startup/single_run_win32.h"

namespace {

constexpr const wchar_t* HostTitle = L"Ripplume";

HINSTANCE HostInstance = nullptr;

// Ends the host at once: no further window and no window's close handler.
[[noreturn]] void EndAtOnce() {
    ExitProcess(0);
}

bool AnotherInstanceRunning() {
    return FindWindowA(nullptr, SaverWindowTitle) != nullptr || FindWindowW(nullptr, DialogTitle) != nullptr;
}

// A settings request while the dialog is open: the user clicked "Settings..."
// again, so the open dialog (or the chooser it has open) comes to the front.
void BringDialogForward() {
    const HWND dialog = FindWindowW(nullptr, DialogTitle);
    if (dialog == nullptr) return;
    const HWND front = GetLastActivePopup(dialog);
    DWORD process = 0;
    GetWindowThreadProcessId(front, &process);
    AllowSetForegroundWindow(process);
    SetForegroundWindow(front);
}

// Another host runs the saver or the dialog: this one ends, as only one may.
[[noreturn]] void EndBesideAnother(HostMode hostMode) {
    if (hostMode == HostMode::Settings) BringDialogForward();
    EndAtOnce();
}

void Main() {
    const std::wstring commandLine = ArgumentText(GetCommandLineW());
    const std::wstring mode = ModeLetter(commandLine);
    const HostMode hostMode = HostModeOf(commandLine);
    if (TakesHostMutex(mode) && !TakeSingleRunMark()) {
        EndBesideAnother(hostMode);
    }
    if (AnotherInstanceRunning()) {
        EndBesideAnother(hostMode);
    }
    // With no run going, a picture on disk is one a crash or kill left behind.
    // A saver run replaces it with its own.
    if ((mode == L"P" || mode == L"C") && FindWindowA(nullptr, RendererWindowTitle) == nullptr) {
        RemoveLeftoverPicture();
    }

    if (hostMode == HostMode::Preview) {
        // Window handles are 32-bit values, widened with their sign as LongToHandle does.
        const HWND previewBox = static_cast<HWND>(LongToHandle(static_cast<LONG>(PreviewHandle(commandLine))));
        // A handle that names no window would leave an invisible process
        // behind that nobody can close, so such a request ends here.
        if (!IsWindow(previewBox) || ShowPreview(HostInstance, previewBox) == nullptr) {
            EndAtOnce();
        }
        return;
    }

    LoadSettings();
    if (!FileExists(RendererProgramPath())) {
        MessageBoxW(nullptr, LoadText(IDS_RENDERER_MISSING).c_str(), HostTitle, MB_OK);
        EndAtOnce();
    }

    if (hostMode == HostMode::Settings) {
        const HWND asking = static_cast<HWND>(LongToHandle(static_cast<LONG>(SettingsOwnerHandle(commandLine))));
        // Only a top-level window owns; a control named here stands for its window.
        ShowSettingsDialog(HostInstance, IsWindow(asking) ? GetAncestor(asking, GA_ROOT) : nullptr);
        EndAtOnce();
    }
    if (hostMode != HostMode::Run) {
        EndAtOnce();
    }
    ShowCursor(FALSE);
    if (CreateSaverWindow(HostInstance) == nullptr) {
        ShowCursor(TRUE);
        EndAtOnce();
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HostInstance = instance;
    // The shell (the dialog's link) expects COM on the calling thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    Main();
    // Main returns only with a window in place: the preview, which ends the
    // loop when it is destroyed, or the saver window, which ends the process.
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
