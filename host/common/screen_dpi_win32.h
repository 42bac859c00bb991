// The display's resolution in dots per inch, for turning twips and points
// into pixels. Both programs are per-monitor aware, so a window's resolution
// is that of the monitor it is on, which can differ from the system's.
#pragma once
#include <windows.h>

// The system's: read once from the screen (LOGPIXELSY) and kept; 96 when it cannot be read.
int ScreenDpi();

// The monitor's at a point of the screen (the monitor nearest to it); the
// system's where the system cannot tell monitors apart (before Windows 8.1).
int DpiAt(POINT screenPoint);
