// Stands in for xscreensaver-getimage in the display-mode test: paints the
// pixmap it is given (its second argument) in one known colour, #c08040;
// with a third argument "free", frees that pixmap instead (as X lets any
// client), as a helper gone wrong might.
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const Drawable pixmap = std::strtoul(argv[2], nullptr, 0);
    if (argc > 3 && std::string(argv[3]) == "free") {
        XFreePixmap(display, pixmap);
        XCloseDisplay(display);
        return 0;
    }
    Window root;
    int x, y;
    unsigned width, height, border, depth;
    if (!XGetGeometry(display, pixmap, &root, &x, &y, &width, &height, &border, &depth)) return 1;
    XGCValues values = {};
    values.foreground = 0xc08040;
    const GC gc = XCreateGC(display, pixmap, GCForeground, &values);
    XFillRectangle(display, pixmap, gc, 0, 0, width, height);
    XFreeGC(display, gc);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
