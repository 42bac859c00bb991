// -fps shows the frame rate in the top-left corner, as XScreenSaver's modes
// do, in X's "fixed" font through GLX's bitmap font display lists.
#pragma once
#include <GL/gl.h>
#include <X11/Xlib.h>

struct FpsText {
    XFontStruct* Font = nullptr;
    GLuint FirstList = 0;  // 0: the text cannot be drawn
};

// With the GL context current.
FpsText MakeFpsText(Display* display);
void FreeFpsText(Display* display, FpsText& text);

// Drawn over the frame in window pixels; every state it changes is restored.
// The line is plain ASCII.
void DrawFpsText(const FpsText& text, const char* line, int width, int height);

// The same over a frame already on the window, drawn with X; gc is changed.
void DrawFpsTextOnWindow(Display* display, Window window, GC gc, const FpsText& text, const char* line);
