// The renderer's process entry, its paced draw loop and its window procedure.
#include <windows.h>

#include <mmsystem.h>
#include <windowsx.h>

#include "handover/hand_over.h"
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

// While the water is inactive it only waits, looking a few times a second for
// a window that took the activation and went without handing it back: with
// no active window the water takes it back, so it is drawn again and Escape
// reaches it. A minimised water stays so.
constexpr DWORD InactiveLookMilliseconds = 250;

void WaitWhileInactive() {
    const HWND foreground = GetForegroundWindow();
    if (!Input.Minimised && (foreground == nullptr || foreground == GetDesktopWindow()))
        SetForegroundWindow(Renderer.Window);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, InactiveLookMilliseconds, QS_ALLINPUT);
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
        if (!Input.WindowActive) {
            WaitWhileInactive();
            continue;
        }
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

    DestroyRendererWindow();
    // The quit message carries the exit code; an Escape end is a normal end
    // too, whatever message happened to come last.
    return exitCode;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RendererMain();
}
