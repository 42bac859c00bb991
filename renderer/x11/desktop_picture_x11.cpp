#include "renderer/x11/desktop_picture_x11.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <X11/Xutil.h>

#include "renderer/x11/display_mode.h"

namespace {

// The picture helper's process group while it runs, else 0.
volatile std::sig_atomic_t HelperGroup = 0;

// The helper runs in a process group of its own, so that it ends with
// everything it starts. Signals wait while the group is made and noted.
pid_t StartHelper(const std::string& helper, const char* windowId, const char* pixmapId) {
    sigset_t all, previous;
    sigfillset(&all);
    sigprocmask(SIG_SETMASK, &all, &previous);
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        execl(helper.c_str(), helper.c_str(), windowId, pixmapId, static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child > 0) {
        setpgid(child, child);
        HelperGroup = child;
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return child;
}

// Waits for the picture helper, 10 seconds at most; then its whole process
// group is ended, so that nothing it started outlives the wait.
bool WaitForHelper(pid_t child, int& status) {
    bool exited = false;
    for (int tick = 0; tick < 200; ++tick) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done != 0) {
            exited = done == child;
            break;
        }
        usleep(50000);
    }
    EndPictureHelper();
    if (!exited) waitpid(child, &status, 0);
    HelperGroup = 0;
    return exited;
}

// What a drawable shows, as packed top-down RGB; empty when it cannot be read.
std::vector<uint8_t> GrabDrawable(Display* display, Drawable drawable, int width, int height) {
    XImage* image = XGetImage(display, drawable, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image) return {};
    const auto channel = [](unsigned long pixel, unsigned long mask) -> uint8_t {
        if (mask == 0) return 0;
        int shift = 0;
        while (!((mask >> shift) & 1)) ++shift;
        const unsigned long top = mask >> shift;
        return uint8_t(((pixel >> shift) & top) * 255 / top);
    };
    // A pixmap's image names no visual, so its masks come from the screen's.
    const Visual* visual = DefaultVisual(display, DefaultScreen(display));
    const unsigned long red = image->red_mask ? image->red_mask : visual->red_mask;
    const unsigned long green = image->green_mask ? image->green_mask : visual->green_mask;
    const unsigned long blue = image->blue_mask ? image->blue_mask : visual->blue_mask;
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            uint8_t* out = &rgb[(size_t(y) * width + x) * 3];
            out[0] = channel(pixel, red);
            out[1] = channel(pixel, green);
            out[2] = channel(pixel, blue);
        }
    }
    XDestroyImage(image);
    return rgb;
}

}  // namespace

std::vector<uint8_t> GrabScreen(Display* display, int& width, int& height) {
    XWindowAttributes attributes = {};
    if (!XGetWindowAttributes(display, DefaultRootWindow(display), &attributes)) return {};
    width = attributes.width;
    height = attributes.height;
    return GrabDrawable(display, DefaultRootWindow(display), width, height);
}

void EndPictureHelper() {
    const pid_t group = HelperGroup;
    if (group > 0) kill(-group, SIGKILL);
}

std::vector<uint8_t> GrabThroughXScreenSaver(Display* display, Window window, int& width, int& height,
                                             std::string& why) {
    const char* named = std::getenv("RIPPLUME_GETIMAGE");
    const std::string helper = GetImageHelper(named, std::getenv("PATH"));
    if (helper.empty()) {
        why = named && *named ? std::string("RIPPLUME_GETIMAGE names ") + named + ", which cannot be run"
                              : "xscreensaver-getimage is neither on the search path nor in /usr/libexec/xscreensaver";
        return {};
    }
    // The helper puts the part of the desktop under the window on the pixmap,
    // fitted to the pixmap's size: the window's own size keeps it unscaled,
    // and on a setup of several monitors each window gets its monitor.
    XWindowAttributes attributes = {};
    if (!XGetWindowAttributes(display, window, &attributes)) {
        why = "the window's size cannot be had";
        return {};
    }
    width = attributes.width;
    height = attributes.height;
    const Pixmap pixmap =
        XCreatePixmap(display, attributes.root, unsigned(width), unsigned(height), unsigned(attributes.depth));
    XSync(display, False);
    char windowId[32], pixmapId[32];
    std::snprintf(windowId, sizeof windowId, "0x%lx", window);
    std::snprintf(pixmapId, sizeof pixmapId, "0x%lx", pixmap);
    std::vector<uint8_t> picture;
    const pid_t child = StartHelper(helper, windowId, pixmapId);
    int status = 0;
    if (child < 0) {
        why = helper + " cannot be started: " + std::strerror(errno);
    } else if (!WaitForHelper(child, status)) {
        why = helper + " gave no picture within 10 seconds";
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        why = helper + " failed (" +
              (WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                 : "signal " + std::to_string(WTERMSIG(status))) +
              ")";
    } else {
        picture = GrabDrawable(display, pixmap, width, height);
        if (picture.empty()) why = "the picture cannot be read back from the X server";
    }
    XFreePixmap(display, pixmap);
    return picture;
}
