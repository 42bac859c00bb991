// One frame of the scene: camera orbit, random drop, one water step, the surface.
#pragma once

// The pseudo-random source of the drops. An interface, like every stand-in
// (see README, "Stand-ins"): tests and the preview still's generator put a
// fixed sequence in place of the C runtime's rand().
struct RandomSource {
    virtual ~RandomSource() = default;
    virtual int Next() = 0;
};

struct FrameState {
    float OrbitAngleX = 180.0f;  // degrees, never wrapped
    float OrbitAngleZ = 180.0f;
    int DropCounter = 0;
    float TextureScroll = 1.0f;      // added to every s texture coordinate
    RandomSource* Random = nullptr;  // the C runtime's rand() when null
};

extern FrameState Frame;

// Draws one frame into the current OpenGL context; always returns true.
bool DrawScene();
