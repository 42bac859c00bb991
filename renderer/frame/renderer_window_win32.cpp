// Creation and tear-down of the window over every monitor and its GL context.
// The display mode is never changed: each monitor keeps its own.
#include "renderer/frame/renderer_window_win32.h"

#include <string>

#include "handover/hand_over_win32.h"
#include "renderer/assets/bitmap_platform_win32.h"
#include "renderer/frame/monitor_waters_win32.h"
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

// Window, context and scene; any failure leaves the caller to tear down.
bool CreateWindowAndContext(const char* title, const ScreenRect& screen, int bits) {
    // Topmost, as the system's own savers are: no always-on-top window or
    // notification shows over the water.
    const DWORD exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
    const DWORD style = WS_POPUP;
    ShowCursor(FALSE);

    RECT rect = {screen.Left, screen.Top, screen.Right, screen.Bottom};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);

    Renderer.Window = CreateWindowExA(exStyle, RendererWindowClass, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                      rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                      nullptr, Renderer.Module, nullptr);
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
    ResizeViewport(screen.Right - screen.Left, screen.Bottom - screen.Top);
    return InitRendererGL();
}

}  // namespace

bool CreateRendererWindow(const char* title, int bits) {
    Renderer.FullScreen = true;
    Renderer.Module = GetModuleHandleA(nullptr);
    InitSceneSettings();

    if (!RegisterRendererClass()) return false;
    if (!CreateWindowAndContext(title, BoundingRect(CurrentMonitors()), bits)) {
        DestroyRendererWindow();
        return false;
    }
    return true;
}

void DestroyRendererWindow() {
    if (Renderer.FullScreen) ShowCursor(TRUE);
    if (Renderer.RenderingContext) {
        ReleaseMonitorWaters();
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
    UnregisterClassA(RendererWindowClass, Renderer.Module);
}

void ResizeViewport(int width, int height) {
    // Each monitor's view sets its own projection as it is drawn.
    Renderer.ViewportWidth = width;
    Renderer.ViewportHeight = height == 0 ? 1 : height;
}

bool InitRendererGL() {
    const std::wstring path = HandOverPicturePath();
    const std::string picture = Utf8(path);
    Win32BitmapPlatform platform;
    return StartScene(Renderer.ViewportWidth, Renderer.ViewportHeight, [&] {
        BitmapImage* image = picture.empty() ? nullptr : LoadBitmapFile(picture.c_str(), platform);
        if (!image) return false;
        // The picture is a copy of the user's screen: it goes as soon as it
        // is read, so no later end of this process (a kill, a crash) can
        // leave it behind, and its name is free for the next run at once.
        // Tests that compare it with the screen keep it; the host that wrote
        // it still deletes it at the run's end.
        if (GetEnvironmentVariableW(L"RIPPLUME_TEST_KEEP_PICTURE", nullptr, 0) == 0) {
            DeleteOpened(OpenToDelete(path));
        }
        StartMonitorWaters(*image);
        FreeBitmapImage(image);
        return true;
    });
}
