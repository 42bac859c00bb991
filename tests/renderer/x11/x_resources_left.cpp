// Preloaded (LD_PRELOAD) into ripplume by the display-mode test: counts the
// colormaps, windows, GL contexts and fonts it makes and frees, and at
// XCloseDisplay says on standard error how many of each are left.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstdio>

namespace {

int Colormaps = 0, Windows = 0, Contexts = 0, Fonts = 0;

template <typename Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

Colormap XCreateColormap(Display* display, Window window, Visual* visual, int alloc) {
    ++Colormaps;
    return Real<decltype(&XCreateColormap)>("XCreateColormap")(display, window, visual, alloc);
}
int XFreeColormap(Display* display, Colormap colormap) {
    --Colormaps;
    return Real<decltype(&XFreeColormap)>("XFreeColormap")(display, colormap);
}
Window XCreateWindow(Display* display, Window parent, int x, int y, unsigned width, unsigned height, unsigned border,
                     int depth, unsigned kind, Visual* visual, unsigned long mask, XSetWindowAttributes* attributes) {
    ++Windows;
    return Real<decltype(&XCreateWindow)>("XCreateWindow")(display, parent, x, y, width, height, border, depth, kind,
                                                           visual, mask, attributes);
}
int XDestroyWindow(Display* display, Window window) {
    --Windows;
    return Real<decltype(&XDestroyWindow)>("XDestroyWindow")(display, window);
}
GLXContext glXCreateContext(Display* display, XVisualInfo* visual, GLXContext share, Bool direct) {
    const GLXContext context = Real<decltype(&glXCreateContext)>("glXCreateContext")(display, visual, share, direct);
    if (context) ++Contexts;
    return context;
}
void glXDestroyContext(Display* display, GLXContext context) {
    --Contexts;
    Real<decltype(&glXDestroyContext)>("glXDestroyContext")(display, context);
}
XFontStruct* XLoadQueryFont(Display* display, const char* name) {
    XFontStruct* font = Real<decltype(&XLoadQueryFont)>("XLoadQueryFont")(display, name);
    if (font) ++Fonts;
    return font;
}
int XFreeFont(Display* display, XFontStruct* font) {
    --Fonts;
    return Real<decltype(&XFreeFont)>("XFreeFont")(display, font);
}
int XCloseDisplay(Display* display) {
    std::fprintf(stderr, "left at XCloseDisplay: %d colormaps, %d windows, %d GL contexts, %d fonts\n", Colormaps,
                 Windows, Contexts, Fonts);
    return Real<decltype(&XCloseDisplay)>("XCloseDisplay")(display);
}

}  // extern "C"
