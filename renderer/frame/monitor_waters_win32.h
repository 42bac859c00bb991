// The water of every monitor in the renderer's one window: the monitors as
// Windows reports them, each monitor's surface and picture, and the window
// kept over the whole virtual screen as the monitors change.
#pragma once
#include <windows.h>

#include <vector>

#include "renderer/assets/bitmap_decoder.h"
#include "renderer/frame/monitor_layout.h"
#include "renderer/water/water_views.h"

struct MonitorWaterState {
    std::vector<Monitor> Monitors;
    std::vector<WaterView> Views;      // one a monitor, in the same order
    ScreenRect Window = {0, 0, 0, 0};  // the virtual screen the window covers
};

extern MonitorWaterState MonitorWaters;

// The monitors, in physical pixels; the primary screen alone when Windows lists none.
std::vector<Monitor> CurrentMonitors();

// With the GL context current: a surface for every monitor, showing its own
// part of the picture of the virtual screen (mirrored), each part at the
// largest texture size it needs that the GL takes.
void StartMonitorWaters(const BitmapImage& picture);

// The monitors changed: the window covers the new virtual screen at once; a
// monitor still there keeps its water, a new one gets water of the desktop
// colour, a removed one's water is gone.
void FollowMonitors(HWND window);

// A drag at the window's client point stirs the water of the monitor under it.
void StirMonitorWater(int x, int y);

// One frame of every monitor's water, in one pass, at the render scale.
void DrawMonitorWaters(double scale);

void ReleaseMonitorWaters();
