// Scene settings: the fixed numbers of the water scene, assigned once at start.
#pragma once

struct SceneSettings {
    float GridPointsX = 0.0f;      // grid points along x (the column index)
    float GridPointsZ = 0.0f;      // grid points along z (the row index)
    float GridHalfSpacing = 0.0f;  // half the distance between neighbouring points
    float DropDepth = 0.0f;        // a drop sets the heights it touches to -DropDepth
    float WaveDamping = 0.0f;      // applied to every interior velocity once per step
    int DropInterval = 0;          // frames between random drops (modulus of the counter)
    float FogSwitch = 0.0f;        // fog is enabled only when exactly 1.0
    float FogColour[3] = {0.0f, 0.0f, 0.0f};
};

extern SceneSettings Scene;

void InitSceneSettings();
