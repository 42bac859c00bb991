// The scene's perspective for a viewport of the given size.
#pragma once

// A GL viewport: x and y from the bottom-left corner of the window.
struct Viewport {
    int X, Y, Width, Height;
};

// Viewport, 45-degree perspective and an identity model-view, which is left
// as the current matrix. A height of 0 is taken as 1.
void ApplyProjection(int width, int height);
// The same for a viewport anywhere in the window, with its own aspect ratio.
void ApplyProjection(const Viewport& viewport);
