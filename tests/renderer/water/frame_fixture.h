// Shared set-up of the off-screen frame tests: the renderer's GL state on an
// OSMesa buffer, a fresh scene and a test picture in Textures[0].
#pragma once
#include <gtest/gtest.h>

#include "tools/osmesa_context.h"

class FrameTest : public testing::Test {
protected:
    // Binds a width x height buffer, sets the projection and the fixed state
    // and resets the scene, the water and the frame state.
    void Prepare(int width, int height);

    // A 4 x 4 texture of one grey level, filtered linearly, in Textures[0].
    void MakeGreyTexture(unsigned char level);

    void TearDown() override;

    static OffscreenContext& Context();
};
