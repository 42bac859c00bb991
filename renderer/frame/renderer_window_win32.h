// The renderer's one window over every monitor and its OpenGL context.
#pragma once
#include <windows.h>

struct RendererWindowState {
    HINSTANCE Module = nullptr;
    HDC DeviceContext = nullptr;
    HGLRC RenderingContext = nullptr;
    HWND Window = nullptr;
    bool FullScreen = false;  // tear-down shows the cursor again
    int ViewportWidth = 0;    // the window's client size
    int ViewportHeight = 0;
};

extern RendererWindowState Renderer;

constexpr const char* RendererWindowClass = "OpenGL";

// The window covers the virtual screen; each monitor is drawn at its own size.
bool CreateRendererWindow(const char* title, int bits);
void DestroyRendererWindow();
void ResizeViewport(int width, int height);
bool InitRendererGL();

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
