// One frame of the scene: camera orbit, random drop, one water step, the surface.
#pragma once

struct FrameState {
    float OrbitAngleX = 180.0f;  // degrees, never wrapped
    float OrbitAngleZ = 180.0f;
    int DropCounter = 0;
    float TextureScroll = 1.0f;  // added to every s texture coordinate
    int (*Random)() = nullptr;   // pseudo-random source of the drops; the C runtime's rand() when null
};

extern FrameState Frame;

// Draws one frame into the current OpenGL context; always returns true.
bool DrawScene();
