// Creation and tear-down of the full-screen window, its display mode and GL context.
#include "renderer/frame/renderer_window_win32.h"

#include <string>

#include "handover/hand_over_win32.h"
#include "renderer/assets/desktop_texture.h"
#include "renderer/assets/bitmap_platform_win32.h"
#include "renderer/frame/monitor_covers_win32.h"
#include "renderer/water/projection.h"
#include "renderer/water/scene_settings.h"
#include "renderer/water/scene_start.h"

RendererWindowState Renderer;

namespace {

std::string Utf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string utf8(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
    utf8.resize(size_t(bytes) - 1);
    return utf8;
}

PIXELFORMATDESCRIPTOR PixelFormatRequest(int bits) {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(bits);
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

bool RegisterRendererClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = RendererWindowProc;
    windowClass.hInstance = Renderer.Module;
    windowClass.hIcon = LoadIcon(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = RendererWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

// 60 Hz where the display offers it at this size, so that a fast panel
// refreshes with the frames; else the driver's choice, and the frame pace
// keeps the water at 60 frames a second.
bool SwitchDisplayMode(int width, int height, int bits) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = bits;
    mode.dmDisplayFrequency = 60;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL) return true;
    mode.dmDisplayFrequency = 0;
    mode.dmFields &= ~DM_DISPLAYFREQUENCY;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

bool HasWglExtension(const char* name) {
    using ExtensionsFunction = const char*(WINAPI*)();
    const auto extensions =
        reinterpret_cast<ExtensionsFunction>(reinterpret_cast<void*>(wglGetProcAddress("wglGetExtensionsStringEXT")));
    const char* list = extensions ? extensions() : nullptr;
    if (!list) return false;
    const std::string padded = " " + std::string(list) + " ";
    return padded.find(" " + std::string(name) + " ") != std::string::npos;
}

// Each swap waits for the display's refresh where the driver can (no tearing,
// no frames the display never shows).
void WaitForRefreshOnSwap() {
    using SwapIntervalFunction = BOOL(WINAPI*)(int);
    if (!HasWglExtension("WGL_EXT_swap_control")) return;
    const auto setInterval =
        reinterpret_cast<SwapIntervalFunction>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (setInterval) setInterval(1);
}

// Steps after the display switch; any failure leaves the caller to tear down.
bool CreateWindowAndContext(const char* title, int width, int height, int bits) {
    // Topmost, as the system's own savers are: no always-on-top window or
    // notification shows over the water.
    const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
    const DWORD style = WS_POPUP;
    ShowCursor(FALSE);

    RECT rect = {0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);

    Renderer.Window =
        CreateWindowExA(exStyle, RendererWindowClass, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, Renderer.Module, nullptr);
    if (!Renderer.Window) return false;

    Renderer.DeviceContext = GetDC(Renderer.Window);
    if (!Renderer.DeviceContext) return false;

    const PIXELFORMATDESCRIPTOR pfd = PixelFormatRequest(bits);
    const int format = ChoosePixelFormat(Renderer.DeviceContext, &pfd);
    if (format == 0) return false;
    if (!SetPixelFormat(Renderer.DeviceContext, format, &pfd)) return false;

    Renderer.RenderingContext = wglCreateContext(Renderer.DeviceContext);
    if (!Renderer.RenderingContext) return false;
    if (!wglMakeCurrent(Renderer.DeviceContext, Renderer.RenderingContext)) return false;
    WaitForRefreshOnSwap();

    ShowWindow(Renderer.Window, SW_SHOW);
    SetForegroundWindow(Renderer.Window);
    SetFocus(Renderer.Window);
    ResizeViewport(width, height);
    return InitRendererGL();
}

}  // namespace

bool CreateRendererWindow(const char* title, int width, int height, int bits) {
    Renderer.FullScreen = true;
    Renderer.Module = GetModuleHandleA(nullptr);
    InitSceneSettings();

    if (!RegisterRendererClass()) return false;
    // A refused mode ends the run before any window exists or the cursor is hidden.
    if (!SwitchDisplayMode(width, height, bits)) return false;
    // After the switch, which can move the other monitors.
    CoverOtherMonitors(Renderer.Module);

    if (!CreateWindowAndContext(title, width, height, bits)) {
        DestroyRendererWindow();
        return false;
    }
    return true;
}

void DestroyRendererWindow() {
    if (Renderer.FullScreen) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
    }
    if (Renderer.RenderingContext) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(Renderer.RenderingContext);
        Renderer.RenderingContext = nullptr;
    }
    if (Renderer.DeviceContext) {
        ReleaseDC(Renderer.Window, Renderer.DeviceContext);
        Renderer.DeviceContext = nullptr;
    }
    if (Renderer.Window) {
        DestroyWindow(Renderer.Window);
        Renderer.Window = nullptr;
    }
    // Last: restoring the display mode above may have covered the monitors afresh.
    RemoveMonitorCovers();
    UnregisterClassA(RendererWindowClass, Renderer.Module);
}

void ResizeViewport(int width, int height) {
    if (height == 0) height = 1;
    Renderer.ViewportWidth = width;
    Renderer.ViewportHeight = height;
    ApplyProjection(width, height);
}

bool InitRendererGL() {
    const std::string picture = Utf8(HandOverPicturePath());
    Win32BitmapPlatform platform;
    return StartScene(Renderer.ViewportWidth, Renderer.ViewportHeight,
                      [&] { return !picture.empty() && LoadDesktopTextureFrom(picture.c_str(), platform); });
}
