// Showing a frame drawn smaller than the window: read back from GL's back
// buffer, scaled up on the CPU (bilinear) into an image of the window's size
// and put on the window, through shared memory (MIT-SHM) where the X server
// offers it, else through the connection (a remote display).
#pragma once
#include <cstdint>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

struct ScaledFrame {
    XImage* Image = nullptr;  // the window's size
    XShmSegmentInfo Shared = {};
    bool UsesShm = false;
    bool ServerReading = false;  // a shared image put, perhaps not yet copied by the server
    GC Context = nullptr;
    std::vector<uint8_t> Drawn;  // the small frame, bottom-up, as GL gives it
};

// Whether frames can be shown scaled on a window of this visual: 32 bits a
// pixel, red, green and blue one byte each (GL's BGRA in memory order).
bool CanShowScaled(Display* display, Visual* visual, int depth);

// The image for a window of width x height; false when it cannot be had.
bool MakeScaledFrame(ScaledFrame& frame, Display* display, Window window, Visual* visual, int depth, int width,
                     int height);

// Reads the drawnWidth x drawnHeight frame at the back buffer's lower left,
// scales it to the image and puts it on the window; returns when the X server
// has it, so the next frame may be drawn into the image.
void ShowScaledFrame(ScaledFrame& frame, Display* display, Window window, int drawnWidth, int drawnHeight);

void FreeScaledFrame(ScaledFrame& frame, Display* display);
