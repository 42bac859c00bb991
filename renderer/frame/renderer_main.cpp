// The renderer's process entry, its busy draw loop and its window procedure.
#include <windows.h>

#include "renderer/frame/renderer_window.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/mouse_drop.h"

namespace {

struct InputState {
    unsigned char KeyStates[256] = {};  // 1 while a key is down, by virtual-key code
    bool WindowActive = true;           // false while minimised: no frames are drawn
};

InputState Input;

constexpr WPARAM ScreenSaveCommand = 0xF140;    // SC_SCREENSAVE
constexpr WPARAM MonitorPowerCommand = 0xF170;  // SC_MONITORPOWER

}  // namespace

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        Input.WindowActive = HIWORD(wParam) == 0;
        return 0;
    case WM_SYSCOMMAND:
        // Keep the system's own saver and monitor power-down away while we run.
        if (wParam == ScreenSaveCommand || wParam == MonitorPowerCommand) return 0;
        break;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        Input.KeyStates[wParam & 0xFF] = 1;
        return 0;
    case WM_KEYUP:
        Input.KeyStates[wParam & 0xFF] = 0;
        return 0;
    case WM_SIZE:
        ResizeViewport(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (wParam == MK_LBUTTON) {
            MouseDrop(LOWORD(lParam), HIWORD(lParam), Renderer.ViewportWidth, Renderer.ViewportHeight);
        }
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
