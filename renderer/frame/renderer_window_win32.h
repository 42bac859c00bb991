// The renderer's one full-screen window and its OpenGL context.
#pragma once
#include <windows.h>

struct RendererWindowState {
    HINSTANCE Module = nullptr;
    HDC DeviceContext = nullptr;
    HGLRC RenderingContext = nullptr;
    HWND Window = nullptr;
    bool FullScreen = false;  // tear-down restores the display mode and the cursor
    int ViewportWidth = 0;
    int ViewportHeight = 0;
};

extern RendererWindowState Renderer;

constexpr const char* RendererWindowClass = "OpenGL";

bool CreateRendererWindow(const char* title, int width, int height, int bits);
void DestroyRendererWindow();
void ResizeViewport(int width, int height);
bool InitRendererGL();

LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
