// The scene's perspective for a viewport of the given size.
#pragma once

// Viewport, 45-degree perspective and an identity model-view, which is left
// as the current matrix. A height of 0 is taken as 1.
void ApplyProjection(int width, int height);
