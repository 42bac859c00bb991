// Where a frame's time goes: the simulation step, a drop, and whole frames
// drawn off-screen at full size and into a 1 x 1 viewport (submission only).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "renderer/assets/desktop_texture.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/gl_state.h"
#include "renderer/water/projection.h"
#include "renderer/water/scene_settings.h"
#include "renderer/water/water_grid.h"
#include "tools/osmesa_context.h"

namespace {

void ResetWater() {
    std::memset(&Water, 0, sizeof Water);
    InitSceneSettings();
    InitWaterGrid();
}

void BM_PropagateWaves(benchmark::State& state) {
    ResetWater();
    DropRipple(50, 50);
    for (auto _ : state) {
        PropagateWaves();
        benchmark::DoNotOptimize(Water.HeightGrid[50][50].y);
    }
}
BENCHMARK(BM_PropagateWaves);

void BM_DropRipple(benchmark::State& state) {
    ResetWater();
    for (auto _ : state) {
        DropRipple(50, 50);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DropRipple);

// A 1024 x 1024 picture, as the desktop texture's size would be.
void MakePicture() {
    std::vector<unsigned char> texels(1024 * 1024 * 3);
    for (size_t i = 0; i < texels.size(); ++i) {
        texels[i] = static_cast<unsigned char>((i / 3 % 1024) ^ (i / 3 / 1024));
    }
    glGenTextures(1, &Textures[0]);
    glBindTexture(GL_TEXTURE_2D, Textures[0]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1024, 1024, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
}

// Whole frames; the viewport is range(0) x range(1) pixels.
void BM_DrawScene(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    static OffscreenContext context;
    if (!context.Bind(width, height)) {
        state.SkipWithError("no OSMesa context");
        return;
    }
    ResetWater();
    Frame = FrameState{};
    ApplyProjection(width, height);
    ApplyFixedGLState();
    if (Textures[0] == 0) {
        MakePicture();
    }
    for (auto _ : state) {
        DrawScene();
        glFinish();  // count the rasterisation of this frame, not the next one
    }
}
BENCHMARK(BM_DrawScene)->Args({1024, 768})->Args({1, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
