// ripplume: the water as a Linux display mode for XScreenSaver, drawn with
// GLX on the window XScreenSaver gives (-window-id or XSCREENSAVER_WINDOW), on
// the root window (-root) or on a window of its own (-window, the default:
// Escape or closing the window ends it). SIGTERM, how XScreenSaver stops a
// mode, and SIGINT end it at once, whatever it is doing, with the picture
// helper it may have started; any other ending signal ends that helper too.
// No X error ends it: see display_mode_x11. The frame drawing and the water
// are the renderer's own.
//
// The desktop picture (mirrored; plain blue without one) comes from
// desktop_picture_x11. Left-button drags stir the water. Frames come no faster
// than 60 a second (the renderer's frame pace), and each swap waits for the
// display's refresh where the driver offers a swap interval.
// -fps shows the frame rate on the screen and on standard error.
//
// The run itself is the DisplayMode record (display_mode_x11.h); this is the
// framework around it: the stop, the options and the event loop.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "renderer/x11/display_mode.h"

// Last: X11 defines macros (None, Button1, ...) that the names above would meet.
#include "renderer/x11/desktop_picture_x11.h"
#include "renderer/x11/display_mode_x11.h"

namespace {

// Nothing of ours needs tidying at a stop: the X server and the kernel free
// what a process leaves; only the picture helper is a process of its own.
void EndAtOnce(int) {
    EndPictureHelper();
    _exit(0);
}

// Any other signal that would end it still does, as it would, but not
// before the picture helper's group has ended too.
void EndAsTheSignalWould(int signal) {
    EndPictureHelper();
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    raise(signal);  // delivered when this handler returns
}

}  // namespace

int main(int argc, char** argv) {
    // First of all, so that no stop finds the default action (exit status 143).
    struct sigaction stop = {};
    stop.sa_handler = EndAtOnce;
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
    // Those a sanitizer or a debugger reports on (SIGSEGV, SIGABRT, ...) are left to them.
    struct sigaction other = {};
    other.sa_handler = EndAsTheSignalWould;
    for (int signal : {SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGIO,
                       SIGPWR, SIGSTKFLT}) {
        sigaction(signal, &other, nullptr);
    }

    DisplayMode mode;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    mode.Options = ParseDisplayModeOptions(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    if (!mode.Options.Error.empty()) {
        std::fprintf(stderr, "ripplume: %s\nusage: ripplume [-window | -root | -window-id ID] [-fps]\n",
                     mode.Options.Error.c_str());
        return 2;
    }

    const bool opened = OpenDisplayMode(mode);
    if (opened) {
        StartDisplayMode(mode);
        while (!mode.Ended) {
            while (XPending(mode.Connection) > 0) {
                XEvent event;
                XNextEvent(mode.Connection, &event);
                HandleDisplayModeEvent(mode, event);
            }
            if (!mode.Ended) DrawDisplayModeFrame(mode);
        }
    }
    ReleaseDisplayMode(mode);
    return opened ? 0 : 1;
}
