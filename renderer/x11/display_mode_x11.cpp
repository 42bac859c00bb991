#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "renderer/assets/desktop_texture.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/mouse_drop.h"
#include "renderer/water/projection.h"
#include "renderer/water/scene_start.h"

// Last: X11 defines macros (None, Button1, ...) that the names above would meet.
#include "renderer/x11/display_mode_x11.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "renderer/x11/desktop_picture_x11.h"

static_assert(XErrorCode::NoSuchWindow == BadWindow && XErrorCode::NoSuchPixmap == BadPixmap &&
                  XErrorCode::Mismatch == BadMatch && XErrorCode::NoSuchDrawable == BadDrawable,
              "the X error rules use X's codes");
static_assert(PointerState::ShiftHeld == ShiftMask && PointerState::ControlHeld == ControlMask &&
                  PointerState::LeftHeld == Button1Mask && PointerState::MiddleHeld == Button2Mask &&
                  PointerState::RightHeld == Button3Mask,
              "the pointer rules use X11's bits");

namespace {

constexpr int OwnWindowWidth = 1024;
constexpr int OwnWindowHeight = 768;

// Says on standard error why the run cannot go on; false, for the caller to return.
__attribute__((format(printf, 1, 2))) bool Fail(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("ripplume: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputs("\n", stderr);
    va_end(arguments);
    return false;
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

// Every X error of the run comes here instead of ending it (Xlib's default);
// what it means depends on the stage it comes in (MeaningOfXError). The
// handler may make no X requests: it notes, and the run acts on the notes.
struct XErrorNotes {
    RunStage Stage = RunStage::Opening;
    int GlxErrorBase = -1000;  // GLX's own codes for a drawable that is gone count as BadDrawable
    bool OpeningFailed = false, PictureFailed = false, WindowMayBeGone = false;
    int Code = 0;
};
XErrorNotes Notes;

// GLX's codes (after its error base) for a drawable or window that is not there.
constexpr int GlxBadDrawable = 2, GlxBadCurrentWindow = 5, GlxBadCurrentDrawable = 11, GlxBadWindow = 12;

int CoreCode(int code) {
    const int glx = code - Notes.GlxErrorBase;
    if (glx == GlxBadDrawable || glx == GlxBadCurrentWindow || glx == GlxBadCurrentDrawable || glx == GlxBadWindow)
        return BadDrawable;
    return code;
}

int OnXError(Display* display, XErrorEvent* event) {
    const int code = CoreCode(event->error_code);
    switch (MeaningOfXError(Notes.Stage, code)) {
    case XErrorMeaning::OpeningFails:
        Notes.OpeningFailed = true;
        Notes.Code = event->error_code;
        break;
    case XErrorMeaning::NoPicture:
        Notes.PictureFailed = true;
        break;
    case XErrorMeaning::WindowMayBeGone:
        Notes.WindowMayBeGone = true;
        break;
    case XErrorMeaning::Reported: {
        char text[128] = "";
        XGetErrorText(display, event->error_code, text, sizeof text);
        std::fprintf(stderr, "ripplume: X error %s (request %d.%d on 0x%lx); carrying on\n", text, event->request_code,
                     event->minor_code, event->resourceid);
        break;
    }
    case XErrorMeaning::Ignored:
        break;
    }
    return 0;
}

// The errors of a stage, all in: the server has answered every request made.
void Settle(Display* display) {
    XSync(display, False);
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

// The desktop picture: taken before anything of ours covers the screen, or
// under XScreenSaver, whose window covers it already, through its helper.
void TakePicture(DisplayMode& mode) {
    int width = 0, height = 0;
    std::string noPicture;
    Notes.Stage = RunStage::TakingPicture;
    Notes.PictureFailed = false;
    std::vector<uint8_t> screen =
        mode.Options.UnderXScreenSaver
            ? GrabThroughXScreenSaver(mode.Connection, Window(mode.Options.WindowId), width, height, noPicture)
            : GrabScreen(mode.Connection, width, height);
    // A window or a helper's pixmap that went away meanwhile gives no picture.
    Settle(mode.Connection);
    Notes.Stage = RunStage::Opening;
    if (Notes.PictureFailed) {
        screen.clear();
        if (noPicture.empty()) noPicture = "the X server refused to give it (its window or pixmap went away)";
    }
    if (!screen.empty()) {
        mode.Picture = MirroredBottomUp(screen.data(), width, height);
        mode.PictureWidth = width;
        mode.PictureHeight = height;
    }
    if (!noPicture.empty()) {
        std::fprintf(stderr, "ripplume: no picture of the desktop: %s; the water is plain blue\n", noPicture.c_str());
    }
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

// -window: a window of its own, with a colormap for its GL visual; null
// when the display offers no such visual.
XVisualInfo* MakeOwnWindow(DisplayMode& mode) {
    Display* display = mode.Connection;
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (!visual) return nullptr;
    mode.OwnColormap = XCreateColormap(display, DefaultRootWindow(display), visual->visual, AllocNone);
    XSetWindowAttributes set = {};
    set.colormap = mode.OwnColormap;
    set.background_pixel = 0;
    set.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask | StructureNotifyMask | ExposureMask;
    mode.OwnWindow =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, OwnWindowWidth, OwnWindowHeight, 0, visual->depth,
                      InputOutput, visual->visual, CWColormap | CWBackPixel | CWEventMask, &set);
    XStoreName(display, mode.OwnWindow, "Ripplume");
    XSetWMProtocols(display, mode.OwnWindow, &mode.CloseRequest, 1);
    XMapWindow(display, mode.OwnWindow);
    mode.Target = mode.OwnWindow;
    return visual;
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

// -fps: once a second the rate goes to standard error and to the corner's line.
void CountFrame(DisplayMode& mode, long long now) {
    FrameCount& count = mode.Frames;
    if (now - count.SecondStart >= 1000000000LL) {
        const double fps = count.InSecond * 1e9 / double(now - count.SecondStart);
        std::fprintf(stderr, "ripplume: %.1f fps (%s, scale %.3f), %lld frames\n", fps,
                     mode.SwapPaced ? "swap interval and 60 Hz cap" : "60 Hz cap", mode.Scale.Value, count.Total);
        std::snprintf(count.Line, sizeof count.Line, "FPS: %.1f", fps);
        count.SecondStart = now;
        count.InSecond = 0;
    }
    ++count.InSecond;
    ++count.Total;
}

// The projection for the size drawn at the render scale, and the image the
// frame is scaled up into where that is smaller than the window. Where no
// such image can be had, the frame is drawn at full size from then on.
void ApplyDrawnSize(DisplayMode& mode) {
    mode.DrawnWidth = ScaledLength(mode.Width, mode.Scale.Value);
    mode.DrawnHeight = ScaledLength(mode.Height, mode.Scale.Value);
    const bool scaled = mode.DrawnWidth < mode.Width || mode.DrawnHeight < mode.Height;
    const XImage* image = mode.Scaled.Image;
    if (scaled && (!image || image->width != mode.Width || image->height != mode.Height) &&
        !MakeScaledFrame(mode.Scaled, mode.Connection, mode.Target, mode.TargetVisual, mode.TargetDepth, mode.Width,
                         mode.Height)) {
        std::fprintf(stderr, "ripplume: no image to scale frames up in; drawing at full size\n");
        mode.Scale = FixedRenderScale(1.0);
        mode.DrawnWidth = mode.Width;
        mode.DrawnHeight = mode.Height;
    }
    ApplyProjection(mode.DrawnWidth, mode.DrawnHeight);
}

// Fixed by -scale, else adaptive where this window's frames can be scaled up.
void ChooseRenderScale(DisplayMode& mode) {
    const double fixed = mode.Options.Scale;
    if (CanShowScaled(mode.Connection, mode.TargetVisual, mode.TargetDepth)) {
        mode.Scale = fixed > 0 ? FixedRenderScale(fixed) : RenderScale{};
        return;
    }
    if (fixed > 0 && fixed < 1)
        std::fprintf(stderr,
                     "ripplume: -scale: frames on this window's visual cannot be scaled up; drawing at full "
                     "size\n");
    mode.Scale = FixedRenderScale(1.0);
}

}  // namespace

bool OpenDisplayMode(DisplayMode& mode) {
    mode.Connection = XOpenDisplay(nullptr);
    Display* display = mode.Connection;
    if (!display) return Fail("cannot open the X display");
    Notes = {};
    XSetErrorHandler(OnXError);
    int glxError = 0, glxEvent = 0;
    if (!glXQueryExtension(display, &glxError, &glxEvent))
        return Fail("the X display %s has no GLX, so OpenGL cannot draw there", DisplayString(display));
    Notes.GlxErrorBase = glxError;
    const DisplayModeOptions& options = mode.Options;
    if (options.Target == DrawTarget::GivenWindow) {
        const Window given = Window(options.WindowId);
        if (!IsWindow(display, given))
            return Fail("0x%lx is not a window on this display (none has that number)", options.WindowId);
        XWindowAttributes attributes = {};
        if (XGetWindowAttributes(display, given, &attributes) && attributes.c_class == InputOnly)
            return Fail("0x%lx is an input-only window, which nothing can be drawn on", options.WindowId);
    }
    TakePicture(mode);

    mode.CloseRequest = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XVisualInfo* visual = nullptr;
    if (options.Target == DrawTarget::OwnWindow) {
        visual = MakeOwnWindow(mode);
        if (!visual) {
            return Fail(
                "the X display offers no OpenGL visual with colour, double buffering and depth, which "
                "the water needs");
        }
    } else {
        mode.Target = options.Target == DrawTarget::Root ? DefaultRootWindow(display) : Window(options.WindowId);
        visual = VisualFor(display, mode.Target);
        if (!visual) {
            return Fail("cannot draw with GL on window 0x%lx: its visual is not one GL draws with", mode.Target);
        }
        XSelectInput(display, mode.Target, StructureNotifyMask | ExposureMask);
    }
    const VisualID visualId = visual->visualid;
    mode.TargetVisual = visual->visual;
    mode.TargetDepth = visual->depth;
    mode.Context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    const bool current = mode.Context && glXMakeCurrent(display, mode.Target, mode.Context);
    Settle(display);
    if (!current || Notes.OpeningFailed) {
        char text[128] = "";
        if (Notes.OpeningFailed) XGetErrorText(display, Notes.Code, text, sizeof text);
        return Fail("cannot draw with GL on window 0x%lx (visual 0x%lx)%s%s", mode.Target, visualId,
                    Notes.OpeningFailed ? ": the X server refused, " : "", text);
    }
    XWindowAttributes size = {};
    XGetWindowAttributes(display, mode.Target, &size);
    mode.Width = size.width;
    mode.Height = size.height;
    Notes.Stage = RunStage::Drawing;
    return true;
}

void StartDisplayMode(DisplayMode& mode) {
    StartScene(mode.Width, mode.Height, [&] {
        if (mode.Picture.empty()) {
            MakePlainTexture(PlainBlue[0], PlainBlue[1], PlainBlue[2]);
        } else {
            const BitmapImage image = {mode.PictureWidth, mode.PictureHeight, mode.Picture.data()};
            MakeDesktopTexture(image);
            if (!mode.Options.PictureOut.empty())
                WritePicture(mode.Options.PictureOut, mode.Picture, mode.PictureWidth, mode.PictureHeight);
        }
        return true;
    });
    ChooseRenderScale(mode);
    ApplyDrawnSize(mode);
    mode.SwapPaced = SetSwapInterval(mode.Connection, mode.Target);
    if (mode.Options.ShowFps) {
        mode.Fps = MakeFpsText(mode.Connection);
        if (!mode.Fps.FirstList) {
            std::fprintf(stderr,
                         "ripplume: -fps: the frame rate cannot be drawn (no X font \"fixed\" or no GL display "
                         "lists); it goes to standard error only\n");
        }
        mode.Frames.SecondStart = NowNanoseconds();
    }
}

void HandleDisplayModeEvent(DisplayMode& mode, XEvent& event) {
    switch (event.type) {
    case ConfigureNotify:
        if (event.xconfigure.window == mode.Target &&
            (event.xconfigure.width != mode.Width || event.xconfigure.height != mode.Height)) {
            mode.Width = event.xconfigure.width;
            mode.Height = event.xconfigure.height;
            ApplyDrawnSize(mode);
        }
        break;
    case KeyPress:
        if (XLookupKeysym(&event.xkey, 0) == XK_Escape) mode.Ended = true;
        break;
    case MotionNotify:
        if (StirsWater(event.xmotion.state))
            MouseDrop(uint16_t(event.xmotion.x), uint16_t(event.xmotion.y), mode.Width, mode.Height);
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == mode.Target) mode.Ended = true;  // drawn on no more: a clean end
        break;
    case ClientMessage:
        if (Atom(event.xclient.data.l[0]) == mode.CloseRequest) mode.Ended = true;
        break;
    default:
        break;
    }
}

void DrawDisplayModeFrame(DisplayMode& mode) {
    if (mode.Options.ShowFps) CountFrame(mode, NowNanoseconds());
    const long long wait = NanosecondsUntilNextFrame(mode.Pace, NowNanoseconds());
    if (wait > 0) {
        const timespec pause = {time_t(wait / 1000000000LL), long(wait % 1000000000LL)};
        nanosleep(&pause, nullptr);
    }
    const long long start = NowNanoseconds();
    FrameDrawn(mode.Pace, start);
    DrawScene();
    long long cost = 0;
    if (mode.DrawnWidth < mode.Width || mode.DrawnHeight < mode.Height) {
        ShowScaledFrame(mode.Scaled, mode.Connection, mode.Target, mode.DrawnWidth, mode.DrawnHeight);
        if (mode.Options.ShowFps)
            DrawFpsTextOnWindow(mode.Connection, mode.Target, mode.Scaled.Context, mode.Fps, mode.Frames.Line);
        cost = NowNanoseconds() - start;
    } else {
        if (mode.Options.ShowFps) DrawFpsText(mode.Fps, mode.Frames.Line, mode.Width, mode.Height);
        // A swap that waits for the display's refresh: that wait is no cost of the frame.
        if (mode.SwapPaced) glFinish();
        cost = NowNanoseconds() - start;
        glXSwapBuffers(mode.Connection, mode.Target);
        if (!mode.SwapPaced) cost = NowNanoseconds() - start;
    }
    if (NoteFrameCost(mode.Scale, cost)) ApplyDrawnSize(mode);
    // A window destroyed under it: the run ends cleanly.
    if (Notes.WindowMayBeGone) {
        Notes.WindowMayBeGone = false;
        if (!IsWindow(mode.Connection, mode.Target)) mode.Ended = true;
    }
}

void ReleaseDisplayMode(DisplayMode& mode) {
    Display* display = mode.Connection;
    if (!display) return;
    Notes.Stage = RunStage::Ending;
    FreeFpsText(display, mode.Fps);
    FreeScaledFrame(mode.Scaled, display);
    if (mode.Context) {
        glXMakeCurrent(display, None, nullptr);
        glXDestroyContext(display, mode.Context);
        mode.Context = nullptr;
    }
    if (mode.OwnWindow) XDestroyWindow(display, mode.OwnWindow);
    if (mode.OwnColormap) XFreeColormap(display, mode.OwnColormap);
    mode.OwnWindow = mode.OwnColormap = 0;
    XCloseDisplay(display);
    mode.Connection = nullptr;
}
