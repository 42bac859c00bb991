// What the two Windows programs agree on besides the picture's place
// (hand_over_win32.h): the renderer's window title, by which the host knows
// that the renderer is running.
#pragma once

inline constexpr char RendererWindowTitle[] = "Ripplume_VC";
