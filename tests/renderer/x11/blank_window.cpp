// A plain window for the display-mode tests: prints its id and stays until
// it is killed, as XScreenSaver's window would. "input-only": a window that
// takes input and shows nothing, which nothing can draw on.
#include <X11/Xlib.h>

#include <cstdio>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const bool inputOnly = argc > 1 && std::string(argv[1]) == "input-only";
    XSetWindowAttributes none = {};
    const Window window = inputOnly ? XCreateWindow(display, DefaultRootWindow(display), 100, 100, 400, 300, 0, 0,
                                                    InputOnly, CopyFromParent, 0, &none)
                                    : XCreateSimpleWindow(display, DefaultRootWindow(display), 100, 100, 400, 300, 0, 0,
                                                          WhitePixel(display, DefaultScreen(display)));
    XStoreName(display, window, "blank");
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
        usleep(100000);
    }
}
