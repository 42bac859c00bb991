// The renderer's process entry, its busy draw loop and its window procedure.
#include <windows.h>

#include "renderer/frame/message_rules.h"
#include "renderer/frame/renderer_window_win32.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/mouse_drop.h"

namespace {

InputState Input;

static_assert(RendererMessages::Size == WM_SIZE && RendererMessages::Activate == WM_ACTIVATE &&
                  RendererMessages::Close == WM_CLOSE && RendererMessages::KeyDown == WM_KEYDOWN &&
                  RendererMessages::KeyUp == WM_KEYUP && RendererMessages::SysCommand == WM_SYSCOMMAND &&
                  RendererMessages::MouseMove == WM_MOUSEMOVE && RendererMessages::LeftButton == MK_LBUTTON &&
                  RendererMessages::ScreenSaveCommand == SC_SCREENSAVE &&
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
        Input.WindowActive = HIWORD(wParam) == 0;
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
        ResizeViewport(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case RendererAction::Stir:
        MouseDrop(LOWORD(lParam), HIWORD(lParam), Renderer.ViewportWidth, Renderer.ViewportHeight);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RendererMain() {
    Renderer.FullScreen = true;
    if (!CreateRendererWindow("Ripplume_VC", 1024, 768, 32)) return 0;

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
        } else {
            if (Input.WindowActive && !DrawScene()) done = true;
            if (Input.KeyStates[VK_ESCAPE] == 1) done = true;
            if (!done) SwapBuffers(Renderer.DeviceContext);
        }
    }

    DestroyRendererWindow();
    // The quit message carries the exit code; an Escape end is a normal end
    // too, whatever message happened to come last.
    return exitCode;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RendererMain();
}
