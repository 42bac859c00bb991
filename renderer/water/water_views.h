// Several water surfaces in one window, one a monitor: each has its own
// viewport and aspect, grids, camera, drops and picture, and all are drawn
// in one pass per frame.
#pragma once
#include <memory>
#include <vector>

#include "renderer/gl_api.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/projection.h"
#include "renderer/water/water_grid.h"

struct WaterView {
    Viewport View;
    std::unique_ptr<WaterGrids> Grids;
    FrameState State;
    GLuint Texture = 0;  // the view's own; deleted with ReleaseWaterView
};

// A still surface with its grid laid out, its camera at the start of its
// orbit, showing texture (which the view now owns). Needs the scene settings.
WaterView NewWaterView(const Viewport& view, GLuint texture);

// Draws every view into its own part of the window, each one frame on; at a
// render scale under 1 into that share of the window, from its lower left.
void DrawWaterViews(std::vector<WaterView>& views, double scale = 1.0);

// A view's part of the window drawn at the scale; views that meet still meet.
Viewport ScaledViewport(const Viewport& view, double scale);

// Drops a ripple on the view at the pointer (pixels from the view's top-left).
void StirWaterView(WaterView& view, int x, int y);

void ReleaseWaterView(WaterView& view);
