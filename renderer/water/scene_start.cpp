#include "renderer/water/scene_start.h"

#include "renderer/water/gl_state.h"
#include "renderer/water/projection.h"
#include "renderer/water/scene_settings.h"
#include "renderer/water/water_grid.h"

bool StartScene(int width, int height, const std::function<bool()>& makeTexture) {
    InitSceneSettings();
    ApplyProjection(width, height);
    if (!makeTexture()) return false;
    InitWaterGrid();
    ApplyFixedGLState();
    return true;
}
