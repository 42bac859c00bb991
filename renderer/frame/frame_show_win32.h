// One frame of every monitor's water, drawn and shown. Where drawing at full
// size costs more than a frame's time (software OpenGL on large monitors) the
// frame is drawn at the render scale, read back, scaled up on the CPU and put
// on the window with GDI, a frame late; otherwise it is drawn at full size
// and swapped.
#pragma once
#include <windows.h>

// Drawn into the window's client area of width x height on dc.
void DrawAndShowFrame(HDC dc, int width, int height);

// The monitors changed: a small frame read back and not yet shown is of the
// old layout and is never shown.
void ForgetUnshownFrame();
