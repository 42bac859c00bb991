// The desktop picture of the Linux display mode, as packed top-down RGB
// (empty when none can be had; width and height are then not to be used).
#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

// The screen as it is now: taken before anything of ours covers it.
std::vector<uint8_t> GrabScreen(Display* display, int& width, int& height);

// Under XScreenSaver the screen is covered already: its xscreensaver-getimage
// helper puts the desktop snapshot it keeps (when the user allows desktop
// grabs, else an image of its choice) on a pixmap the size of the window.
// Without a picture, `why` says what went wrong.
std::vector<uint8_t> GrabThroughXScreenSaver(Display* display, Window window, int& width, int& height,
                                             std::string& why);

// Ends the picture helper with everything it started, if it runs; for a
// signal handler (it only calls kill).
void EndPictureHelper();
