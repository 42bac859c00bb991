// The renderer's process entry, its paced draw loop and its window procedure.
#include <windows.h>

#include <mmsystem.h>
#include <windowsx.h>

#include "handover/hand_over.h"
#include "handover/power_notices_win32.h"
#include "renderer/frame/frame_pace.h"
#include "renderer/frame/frame_show_win32.h"
#include "renderer/frame/message_rules.h"
#include "renderer/frame/monitor_waters_win32.h"
#include "renderer/frame/renderer_window_win32.h"

namespace {

InputState Input;

long long NowNanoseconds() {
    static const long long frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    // In two parts, so that a long uptime cannot overflow the product.
    return count.QuadPart / frequency * 1000000000LL + count.QuadPart % frequency * 1000000000LL / frequency;
}

// Sleeps until the next frame is due or a message arrives, whichever is first.
void WaitForFrameOrMessage(long long nanoseconds) {
    const DWORD milliseconds = DWORD((nanoseconds + 999999) / 1000000);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
}

// While another window is active the water goes on drawing. A window that
// took the activation and went without handing it back leaves none active:
// the water then takes it back, so Escape reaches it again.
void TakeBackAnUnclaimedActivation() {
    const HWND foreground = GetForegroundWindow();
    if (foreground == nullptr || foreground == GetDesktopWindow()) SetForegroundWindow(Renderer.Window);
}

bool IsTopmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Over every window while active; otherwise just below the window the user
// switched to (placed after a window that is not topmost, the water stops
// being topmost), or, with no such window known, below them all.
void FollowActivation(HWND window, HWND activated) {
    constexpr UINT KeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (WaterOnTop(Input)) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, KeepPlace);
        return;
    }
    if (activated == nullptr) activated = GetForegroundWindow();
    const bool below = activated != nullptr && activated != window && !IsTopmost(activated);
    SetWindowPos(window, below ? activated : HWND_BOTTOM, 0, 0, 0, 0, KeepPlace);
}

static_assert(RendererMessages::Size == WM_SIZE && RendererMessages::Activate == WM_ACTIVATE &&
                  RendererMessages::Close == WM_CLOSE && RendererMessages::DisplayChange == WM_DISPLAYCHANGE &&
                  RendererMessages::KeyDown == WM_KEYDOWN && RendererMessages::KeyUp == WM_KEYUP &&
                  RendererMessages::SysCommand == WM_SYSCOMMAND && RendererMessages::MouseMove == WM_MOUSEMOVE &&
                  RendererMessages::LeftButton == MK_LBUTTON && RendererMessages::ScreenSaveCommand == SC_SCREENSAVE &&
                  RendererMessages::MonitorPowerCommand == SC_MONITORPOWER,
              "the message rules use the system's values");

}  // namespace

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (RendererActionFor(message, wParam)) {
    case RendererAction::Default:
        return DefWindowProcA(window, message, wParam, lParam);
    case RendererAction::Ignore:
        return 0;
    case RendererAction::Activate:
        RecordActivation(Input, wParam);
        FollowActivation(window, reinterpret_cast<HWND>(lParam));
        return 0;
    case RendererAction::PowerNotice:
        RecordPowerMessage(Input.Away, wParam, lParam);
        return TRUE;
    case RendererAction::SessionNotice:
        RecordSessionNotice(Input.Away, wParam);
        return 0;
    case RendererAction::Quit:
        PostQuitMessage(0);
        return 0;
    case RendererAction::KeyDown:
        RecordKey(Input, wParam, true);
        return 0;
    case RendererAction::KeyUp:
        RecordKey(Input, wParam, false);
        return 0;
    case RendererAction::Resize:
        RecordSizeKind(Input, wParam);
        ResizeViewport(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case RendererAction::FollowMonitors:
        FollowMonitors(window);
        ForgetUnshownFrame();
        return 0;
    case RendererAction::Stir:
        StirMonitorWater(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RendererMain() {
    Renderer.FullScreen = true;
    if (!CreateRendererWindow(RendererWindowTitle, 32)) return 0;
    ListenForPowerAndSession(Renderer.Window);

    // Waits of a millisecond or two, not the default 15.6 ms.
    timeBeginPeriod(1);
    FramePace pace;
    MSG message = {};
    int exitCode = 0;
    bool done = false;
    while (!done) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                exitCode = static_cast<int>(message.wParam);
                done = true;
            } else {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            continue;
        }
        // The queue is empty. Escape ends the run whether or not frames are drawn.
        if (Input.KeyStates[VK_ESCAPE] == 1) break;
        // Nobody sees a minimised water, a dark display or a locked session:
        // no frames, and nothing but the next message wakes the renderer.
        if (WaterRests(Input)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
            continue;
        }
        if (!Input.Activated) TakeBackAnUnclaimedActivation();
        const long long now = NowNanoseconds();
        const long long wait = NanosecondsUntilNextFrame(pace, now);
        if (wait > 0) {
            WaitForFrameOrMessage(wait);
            continue;
        }
        FrameDrawn(pace, now);
        DrawAndShowFrame(Renderer.DeviceContext, Renderer.ViewportWidth, Renderer.ViewportHeight);
    }
    timeEndPeriod(1);

    StopListeningForSession(Renderer.Window);
    DestroyRendererWindow();
    // The quit message carries the exit code; an Escape end is a normal end
    // too, whatever message happened to come last.
    return exitCode;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RendererMain();
}
