#include "renderer/water/scene_settings.h"

SceneSettings Scene;

void InitSceneSettings() {
    Scene.GridPointsX = 101.0f;
    Scene.GridPointsZ = 101.0f;
    Scene.GridHalfSpacing = 0.4f;
    Scene.FogSwitch = 0.0f;
    Scene.DropDepth = 2.0f;
    Scene.FogColour[0] = 0.0f;
    Scene.FogColour[1] = 0.5f;
    Scene.FogColour[2] = 1.0f;
    Scene.WaveDamping = 0.99f;
    Scene.DropInterval = 150;
}
