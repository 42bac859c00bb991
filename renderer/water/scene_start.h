// The one way a water scene starts, for the Windows renderer, the Linux
// display mode, the preview still's generator and the drawing tests alike.
#pragma once
#include <functional>

// With the GL context current: the scene settings, the projection for a
// viewport of width x height, the desktop texture (makeTexture builds
// Textures[0] and returns false when there is no picture, which ends the
// start), the water grid and the fixed GL state, in this order.
bool StartScene(int width, int height, const std::function<bool()>& makeTexture);
