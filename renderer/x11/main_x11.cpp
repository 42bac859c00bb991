// ripplume: the water as a Linux display mode for XScreenSaver, drawn with
// GLX on the window XScreenSaver gives (-window-id or XSCREENSAVER_WINDOW), on
// the root window (-root) or on a window of its own (-window, the default:
// Escape or closing the window ends it). SIGTERM, how XScreenSaver stops a
// mode, and SIGINT end it at once, whatever it is doing, with the picture
// helper it may have started. The frame drawing and the water are the
// renderer's own.
//
// The desktop picture (mirrored; plain blue without one) comes from
// desktop_picture_x11. Left-button drags stir the water. Frames come no faster
// than 60 a second (the renderer's frame pace), and each swap waits for the
// display's refresh where the driver offers a swap interval.
// -fps shows the frame rate on the screen and on standard error.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "renderer/assets/desktop_texture.h"
#include "renderer/frame/frame_pace.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/mouse_drop.h"
#include "renderer/water/projection.h"
#include "renderer/water/scene_start.h"
#include "renderer/x11/display_mode.h"

// Last: X11 defines macros (None, Button1, ...) that the names above would meet.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "renderer/x11/desktop_picture_x11.h"
#include "renderer/x11/fps_text_x11.h"

static_assert(PointerState::ShiftHeld == ShiftMask && PointerState::ControlHeld == ControlMask &&
                  PointerState::LeftHeld == Button1Mask && PointerState::MiddleHeld == Button2Mask &&
                  PointerState::RightHeld == Button3Mask,
              "the pointer rules use X11's bits");

namespace {

constexpr int OwnWindowWidth = 1024;
constexpr int OwnWindowHeight = 768;

// Nothing of ours needs tidying at a stop: the X server and the kernel free
// what a process leaves; only the picture helper is a process of its own.
void EndAtOnce(int) {
    EndPictureHelper();
    _exit(0);
}

// X errors while a window given by number is looked at: noted, not fatal.
int XErrorSeen = 0;
int NoteXError(Display*, XErrorEvent* event) {
    XErrorSeen = event->error_code;
    return 0;
}

bool IsWindow(Display* display, Window window) {
    XErrorSeen = 0;
    const XErrorHandler previous = XSetErrorHandler(NoteXError);
    XWindowAttributes attributes = {};
    const Status got = XGetWindowAttributes(display, window, &attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    return got && !XErrorSeen;
}

long long NowNanoseconds() {
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

void WritePicture(const std::string& path, const std::vector<uint8_t>& bottomUp, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int y = height - 1; y >= 0; --y) std::fwrite(&bottomUp[size_t(y) * width * 3], 1, size_t(width) * 3, file);
    std::fclose(file);
}

// A GL visual for the window: its own visual when GL can draw there.
XVisualInfo* VisualFor(Display* display, Window window) {
    XWindowAttributes attributes = {};
    if (!XGetWindowAttributes(display, window, &attributes)) return nullptr;
    XVisualInfo wanted = {};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* info = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    int usesGl = 0;
    if (info && (glXGetConfig(display, info, GLX_USE_GL, &usesGl) != 0 || !usesGl)) {
        XFree(info);
        return nullptr;
    }
    return info;
}

using SwapIntervalFunction = int (*)(unsigned);
using SwapIntervalExtFunction = void (*)(Display*, GLXDrawable, int);

// One frame per display refresh where the driver offers a swap interval.
bool SetSwapInterval(Display* display, Window window) {
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    const auto has = [&](const char* name) { return extensions && std::strstr(extensions, name); };
    if (has("GLX_EXT_swap_control")) {
        const auto set = reinterpret_cast<SwapIntervalExtFunction>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (set) {
            set(display, window, 1);
            return true;
        }
    }
    if (has("GLX_MESA_swap_control")) {
        const auto set = reinterpret_cast<SwapIntervalFunction>(
            glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (set) return set(1) == 0;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // First of all, so that no stop finds the default action (exit status 143).
    struct sigaction stop = {};
    stop.sa_handler = EndAtOnce;
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);

    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const DisplayModeOptions options = ParseDisplayModeOptions(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    if (!options.Error.empty()) {
        std::fprintf(stderr, "ripplume: %s\nusage: ripplume [-window | -root | -window-id ID] [-fps]\n",
                     options.Error.c_str());
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "ripplume: cannot open the X display\n");
        return 1;
    }
    int glxError = 0, glxEvent = 0;
    if (!glXQueryExtension(display, &glxError, &glxEvent)) {
        std::fprintf(stderr, "ripplume: the X display %s has no GLX, so OpenGL cannot draw there\n",
                     DisplayString(display));
        XCloseDisplay(display);
        return 1;
    }
    if (options.Target == DrawTarget::GivenWindow && !IsWindow(display, Window(options.WindowId))) {
        std::fprintf(stderr, "ripplume: 0x%lx is not a window on this display (none has that number)\n",
                     options.WindowId);
        XCloseDisplay(display);
        return 1;
    }

    // The desktop picture, taken before anything of ours covers the screen.
    // Under XScreenSaver its own window already covers it.
    int pictureWidth = 0, pictureHeight = 0;
    std::vector<uint8_t> picture;
    std::string noPicture;
    const std::vector<uint8_t> screen =
        options.UnderXScreenSaver
            ? GrabThroughXScreenSaver(display, Window(options.WindowId), pictureWidth, pictureHeight, noPicture)
            : GrabScreen(display, pictureWidth, pictureHeight);
    if (!screen.empty()) picture = MirroredBottomUp(screen.data(), pictureWidth, pictureHeight);
    if (!noPicture.empty()) {
        std::fprintf(stderr, "ripplume: no picture of the desktop: %s; the water is plain blue\n", noPicture.c_str());
    }

    Window window = 0;
    XVisualInfo* visual = nullptr;
    const Atom closeRequest = XInternAtom(display, "WM_DELETE_WINDOW", False);
    if (options.Target == DrawTarget::OwnWindow) {
        int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
        visual = glXChooseVisual(display, DefaultScreen(display), attributes);
        if (!visual) {
            std::fprintf(stderr,
                         "ripplume: the X display offers no OpenGL visual with colour, double buffering "
                         "and depth, which the water needs\n");
            XCloseDisplay(display);
            return 1;
        }
        XSetWindowAttributes set = {};
        set.colormap = XCreateColormap(display, DefaultRootWindow(display), visual->visual, AllocNone);
        set.background_pixel = 0;
        set.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask | StructureNotifyMask | ExposureMask;
        window =
            XCreateWindow(display, DefaultRootWindow(display), 0, 0, OwnWindowWidth, OwnWindowHeight, 0, visual->depth,
                          InputOutput, visual->visual, CWColormap | CWBackPixel | CWEventMask, &set);
        XStoreName(display, window, "Ripplume");
        XSetWMProtocols(display, window, const_cast<Atom*>(&closeRequest), 1);
        XMapWindow(display, window);
    } else {
        window = options.Target == DrawTarget::Root ? DefaultRootWindow(display) : Window(options.WindowId);
        visual = VisualFor(display, window);
        if (!visual) {
            std::fprintf(stderr, "ripplume: cannot draw with GL on window 0x%lx\n", window);
            XCloseDisplay(display);
            return 1;
        }
        XSelectInput(display, window, StructureNotifyMask | ExposureMask);
    }

    GLXContext context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    if (!context || !glXMakeCurrent(display, window, context)) {
        std::fprintf(stderr, "ripplume: no GL context\n");
        if (context) glXDestroyContext(display, context);
        if (options.Target == DrawTarget::OwnWindow) XDestroyWindow(display, window);
        XCloseDisplay(display);
        return 1;
    }
    XWindowAttributes size = {};
    XGetWindowAttributes(display, window, &size);
    int width = size.width, height = size.height;

    StartScene(width, height, [&] {
        if (picture.empty()) {
            MakePlainTexture(PlainBlue[0], PlainBlue[1], PlainBlue[2]);
        } else {
            const BitmapImage image = {pictureWidth, pictureHeight, picture.data()};
            MakeDesktopTexture(image);
            if (!options.PictureOut.empty()) WritePicture(options.PictureOut, picture, pictureWidth, pictureHeight);
        }
        return true;
    });
    const bool paced = SetSwapInterval(display, window);
    FpsText fpsText;
    if (options.ShowFps) fpsText = MakeFpsText(display);
    if (options.ShowFps && !fpsText.FirstList) {
        std::fprintf(stderr,
                     "ripplume: -fps: the frame rate cannot be drawn (no X font \"fixed\" or no GL display "
                     "lists); it goes to standard error only\n");
    }
    char fpsLine[64] = "";

    FramePace pace;
    long long reportStart = NowNanoseconds();
    int framesSinceReport = 0;
    long long totalFrames = 0;
    bool done = false;
    while (!done) {
        const long long now = NowNanoseconds();
        if (options.ShowFps && now - reportStart >= 1000000000LL) {
            const double fps = framesSinceReport * 1e9 / double(now - reportStart);
            std::fprintf(stderr, "ripplume: %.1f fps (%s), %lld frames\n", fps,
                         paced ? "swap interval and 60 Hz cap" : "60 Hz cap", totalFrames);
            std::snprintf(fpsLine, sizeof fpsLine, "FPS: %.1f", fps);
            reportStart = now;
            framesSinceReport = 0;
        }
        ++framesSinceReport;
        ++totalFrames;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            switch (event.type) {
            case ConfigureNotify:
                if (event.xconfigure.window == window &&
                    (event.xconfigure.width != width || event.xconfigure.height != height)) {
                    width = event.xconfigure.width;
                    height = event.xconfigure.height;
                    ApplyProjection(width, height);
                }
                break;
            case KeyPress:
                if (XLookupKeysym(&event.xkey, 0) == XK_Escape) done = true;
                break;
            case MotionNotify:
                if (StirsWater(event.xmotion.state))
                    MouseDrop(uint16_t(event.xmotion.x), uint16_t(event.xmotion.y), width, height);
                break;
            case ClientMessage:
                if (Atom(event.xclient.data.l[0]) == closeRequest) done = true;
                break;
            default:
                break;
            }
        }
        if (done) break;
        const long long wait = NanosecondsUntilNextFrame(pace, NowNanoseconds());
        if (wait > 0) {
            const timespec pause = {time_t(wait / 1000000000LL), long(wait % 1000000000LL)};
            nanosleep(&pause, nullptr);
        }
        FrameDrawn(pace, NowNanoseconds());
        DrawScene();
        if (options.ShowFps) DrawFpsText(fpsText, fpsLine, width, height);
        glXSwapBuffers(display, window);
    }

    FreeFpsText(display, fpsText);
    glXMakeCurrent(display, None, nullptr);
    glXDestroyContext(display, context);
    if (options.Target == DrawTarget::OwnWindow) XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}
