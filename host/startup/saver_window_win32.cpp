#include "host/startup/saver_window_win32.h"

#include <string>
#include <vector>

#include "handover/hand_over.h"
#include "handover/hand_over_win32.h"
#include "handover/power_notices_win32.h"
#include "host/music/mci_port_win32.h"
#include "host/music/music_player.h"
#include "host/startup/capture_win32.h"
#include "host/startup/command_line.h"
#include "host/startup/saver_run.h"
#include "host/startup/settings.h"
#include "host/startup/settings_file_win32.h"
#include "host/startup/settings_values.h"
#include "host/startup/single_run_win32.h"

namespace {

constexpr const char* SaverClassName = "Ripplume_S";

// Timer1 repeats the music file, Timer2 polls the CD, Timer3 watches the renderer.
enum TimerId : UINT_PTR { Timer1 = 1, Timer2 = 2, Timer3 = 3 };
static_assert(Timer1 == UINT_PTR(SaverTimer::MusicRepeat) && Timer2 == UINT_PTR(SaverTimer::CdPoll) &&
              Timer3 == UINT_PTR(SaverTimer::RendererWatch));

struct SaverWindowState {
    HWND Window = nullptr;
    bool TimerOn[4] = {};  // by timer id
    std::wstring RendererPath;
    HANDLE RendererProcess = nullptr;
    RendererWatch Watch;
    std::wstring PicturePath;  // the hand-over picture
    bool PictureWritten = false;
    FileIdentity Picture;  // the hand-over file this run wrote
    AwayReasons Away;      // why nobody can hear the music just now
    bool MusicHeld = false;
    bool CdPolledBeforeHold = false;
};

SaverWindowState Saver;

void SwitchTimer(const TimerStart& timer, bool on) {
    bool& state = Saver.TimerOn[UINT_PTR(timer.Timer)];
    if (on) {
        state = SetTimer(Saver.Window, UINT_PTR(timer.Timer), timer.Interval, nullptr) != 0;
    } else {
        KillTimer(Saver.Window, UINT_PTR(timer.Timer));
        state = false;
    }
}

// Started shown normally, without waiting. The path goes in quoted as the
// program's first argument, so a folder with blanks in it is no problem.
void StartRenderer() {
    Saver.RendererPath = RendererProgramPath();
    std::wstring commandLine = L"\"" + Saver.RendererPath + L"\"";
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(Saver.RendererPath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        Saver.RendererProcess = process.hProcess;
        // The host, started by the system, may bring a window to the front;
        // the renderer it starts may then too, so its water is the active window.
        AllowSetForegroundWindow(process.dwProcessId);
    }
}

bool RendererProcessRunning() {
    return Saver.RendererProcess != nullptr && WaitForSingleObject(Saver.RendererProcess, 0) == WAIT_TIMEOUT;
}

void StartMusic() {
    const MusicChoice music = ChooseMusic(Settings.BgmKind, Settings.BgmFile);
    switch (music) {
    case MusicChoice::AudioCd:
        OpenCdAudio(HostMusic());
        break;
    case MusicChoice::WaveFile:
        PlayWave(HostMusic(), Settings.BgmFile);
        break;
    case MusicChoice::Mp3File:
        PlayMusicFile(HostMusic(), Settings.BgmFile);
        break;
    case MusicChoice::None:
        break;
    }
    if (const std::optional<TimerStart> timer = MusicTimer(music)) {
        SwitchTimer(*timer, true);
    }
}

void Form_Load() {
    // Without a new picture the renderer would show whatever an earlier run
    // left, so it is not started; the watch then ends the run at its first tick.
    Saver.PicturePath = HandOverPicturePath();
    Saver.PictureWritten = SaveMirroredScreen(Saver.PicturePath, &Saver.Picture);
    if (Saver.PictureWritten) {
        StartRenderer();
    }
    StartMusic();
}

// The picture is a copy of the user's screen. The renderer deletes it as
// soon as it has read it; one it has not read by the end of the run (it
// could not start, or was killed or closed before) goes here. A renderer
// still starting then finds none and ends too, as the run it belongs to is
// over. Only the file this run wrote is deleted, never whatever the name
// leads to now.
void RemoveHandOverPicture() {
    if (Saver.PictureWritten) {
        DeleteIfSameFile(Saver.PicturePath, Saver.Picture);
    }
}

// A run ended by the system or a close request takes its renderer with it:
// asked to close, it ends by itself, and only this run's renderer is asked.
void CloseRenderer() {
    if (!RendererProcessRunning()) {
        return;
    }
    const HWND window = FindWindowA(nullptr, RendererWindowTitle);
    DWORD owner = 0;
    if (window != nullptr && GetWindowThreadProcessId(window, &owner) != 0 &&
        owner == GetProcessId(Saver.RendererProcess)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

// Nobody hears music while the display is off, the machine suspends, or the
// session is locked or switched away from; an open, playing stream would also
// keep Windows from sleeping. An MP3 file and the CD are paused where they
// are and go on from there; the sound player cannot pause, so a WAV file is
// stopped and starts again from its beginning. The timers that restart a file
// and keep the CD on its track rest meanwhile, as a paused device is not
// "playing" to them.
void FollowAway() {
    const bool hold = Away(Saver.Away);
    if (hold == Saver.MusicHeld) {
        return;
    }
    Saver.MusicHeld = hold;
    switch (ChooseMusic(Settings.BgmKind, Settings.BgmFile)) {
    case MusicChoice::Mp3File:
        SwitchTimer(MusicRepeatTimer, !hold);
        hold ? PauseMusicFile(HostMusic()) : ResumeMusicFile(HostMusic());
        break;
    case MusicChoice::WaveFile:
        hold ? StopWave(HostMusic()) : PlayWave(HostMusic(), Settings.BgmFile);
        break;
    case MusicChoice::AudioCd:
        if (hold) {
            Saver.CdPolledBeforeHold = Saver.TimerOn[Timer2];
            SwitchTimer(CdPollTimer, false);
            PauseCdAudio(HostMusic());
        } else {
            ResumeCdAudio(HostMusic());
            SwitchTimer(CdPollTimer, Saver.CdPolledBeforeHold);
        }
        break;
    case MusicChoice::None:
        break;
    }
}

void Timer1_Timer() {
    RepeatMusicFile(HostMusic());
}

void Timer2_Timer() {
    PollCdAudio(HostMusic(), Settings.BgmRepeat);
    SwitchTimer(CdPollTimer, HostMusic().CdKeepPolling);
}

// Stops the music, gives the cursor back and ends the host at once.
[[noreturn]] void Form_QueryUnload() {
    if (Saver.TimerOn[Timer2]) {
        SwitchTimer(CdPollTimer, false);
        CloseCdAudio(HostMusic());
    }
    if (Settings.BgmKind == BgmMusicFile) {
        const MusicChoice music = ChooseMusic(Settings.BgmKind, Settings.BgmFile);
        if (music == MusicChoice::WaveFile) {
            StopWave(HostMusic());
        } else if (music == MusicChoice::Mp3File) {
            SwitchTimer(MusicRepeatTimer, false);
            CloseMusicFile(HostMusic());
        }
    }
    if (ModeLetter(ArgumentText(GetCommandLineW())) == L"S") {
        ShowCursor(TRUE);
    }
    // The run is over: a saver or settings request from now on may go on.
    // The mark goes before the window, so that whoever sees the window gone
    // finds the mark gone too.
    StopListeningForSession(Saver.Window);
    ReleaseSingleRunMark();
    DestroyWindow(Saver.Window);
    CloseRenderer();
    RemoveHandOverPicture();
    ExitProcess(0);
}

void Timer3_Timer() {
    const bool windowFound = FindWindowA(nullptr, RendererWindowTitle) != nullptr;
    if (RunIsOver(Saver.Watch, windowFound, RendererProcessRunning())) {
        SwitchTimer(WatchTimer, false);
        Form_QueryUnload();
    }
}

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Saver.Window = window;
        SwitchTimer(WatchTimer, true);
        ListenForPowerAndSession(window);
        return 0;
    case WM_POWERBROADCAST:
        RecordPowerMessage(Saver.Away, wParam, lParam);
        FollowAway();
        return TRUE;
    case WM_WTSSESSION_CHANGE:
        RecordSessionNotice(Saver.Away, wParam);
        FollowAway();
        return 0;
    case WM_TIMER:
        if (wParam == Timer1) {
            Timer1_Timer();
        } else if (wParam == Timer2) {
            Timer2_Timer();
        } else if (wParam == Timer3) {
            Timer3_Timer();
        }
        return 0;
    case WM_ENDSESSION:
        if (wParam) {
            Form_QueryUnload();
        }
        return 0;
    // Any request to close the window, the system's at log-off included.
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
        Form_QueryUnload();
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

std::wstring RendererProgramPath() {
    return HostFolder() + L"\\Ripplume.dll";
}

HWND CreateSaverWindow(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = SaverProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = SaverClassName;
    if (RegisterClassA(&windowClass) == 0) {
        return nullptr;
    }
    // As large as the screen, like the picture it takes; never shown.
    const HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, SaverClassName, SaverWindowTitle, WS_POPUP, 0, 0,
                                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                        instance, nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    Form_Load();
    return window;
}
