// Black, topmost windows over every monitor but the primary for the length of
// a run. They belong to the renderer's process, so they go with it however it
// ends, and they never take the activation (or the keyboard) from the water.
#pragma once
#include <windows.h>

// Covers what the monitors show now beside the primary; an earlier set goes first.
void CoverOtherMonitors(HINSTANCE module);
void RemoveMonitorCovers();
