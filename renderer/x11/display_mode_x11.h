// One run of the Linux display mode on one window, kept as an XScreenSaver GL
// hack keeps its state: a record, and the entries that open, start, handle
// an event, draw a frame and release it. main (main_x11.cpp) runs the loop.
#pragma once
#include <cstdint>
#include <vector>

#include "renderer/frame/frame_pace.h"
#include "renderer/frame/render_scale.h"
#include "renderer/x11/display_mode.h"

// Last: X11 defines macros (None, Button1, ...) that the names above would meet.
#include <GL/glx.h>
#include <X11/Xlib.h>

#include "renderer/x11/fps_text_x11.h"
#include "renderer/x11/scaled_frame_x11.h"

// -fps: frames counted over each second, reported at its end.
struct FrameCount {
    long long SecondStart = 0;
    int InSecond = 0;
    long long Total = 0;
    char Line[64] = "";  // drawn in the corner
};

struct DisplayMode {
    DisplayModeOptions Options;

    // What it made, each freed by ReleaseDisplayMode.
    Display* Connection = nullptr;
    Window OwnWindow = 0;  // -window only
    Colormap OwnColormap = 0;
    GLXContext Context = nullptr;
    FpsText Fps;

    Window Target = 0;  // the window drawn on: its own, the root or the one given
    Atom CloseRequest = 0;
    Visual* TargetVisual = nullptr;
    int TargetDepth = 0;
    int Width = 0, Height = 0;
    // Drawn at the render scale, then scaled up to the window where smaller.
    RenderScale Scale;
    int DrawnWidth = 0, DrawnHeight = 0;
    ScaledFrame Scaled;
    std::vector<uint8_t> Picture;  // mirrored and bottom-up; empty: plain blue
    int PictureWidth = 0, PictureHeight = 0;

    bool SwapPaced = false;  // each swap waits for the display's refresh
    FramePace Pace;
    FrameCount Frames;
    bool Ended = false;  // Escape, or the own window closed
};

// The display, the desktop picture (taken before anything of ours covers the
// screen), the window and a current GL context. False, having said why on
// standard error, when one cannot be had; ReleaseDisplayMode frees what was.
bool OpenDisplayMode(DisplayMode& mode);

// The water scene on the picture, the swap interval and the -fps text.
void StartDisplayMode(DisplayMode& mode);

// A resize, Escape, a left-button drag or a close request.
void HandleDisplayModeEvent(DisplayMode& mode, XEvent& event);

// Waits for the frame's time, then draws and shows it.
void DrawDisplayModeFrame(DisplayMode& mode);

// Frees everything Open and Start made, however far they got, last made
// first; a second call finds nothing to free.
void ReleaseDisplayMode(DisplayMode& mode);
