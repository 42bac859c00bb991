#include "tests/renderer/water/frame_fixture.h"

#include <cstring>
#include <vector>

#include "renderer/assets/desktop_texture.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/scene_start.h"
#include "renderer/water/water_grid.h"

OffscreenContext& FrameTest::Context() {
    static OffscreenContext context;
    return context;
}

void FrameTest::Prepare(int width, int height) {
    ASSERT_TRUE(Context().Bind(width, height));
    std::memset(&Water, 0, sizeof Water);
    Frame = FrameState{};
    ASSERT_TRUE(StartScene(width, height, [this] {
        MakeGreyTexture(0x40);
        return true;
    }));
}

void FrameTest::MakeGreyTexture(unsigned char level) {
    if (Textures[0] != 0) {
        glDeleteTextures(1, &Textures[0]);
    }
    glGenTextures(1, &Textures[0]);
    glBindTexture(GL_TEXTURE_2D, Textures[0]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const std::vector<unsigned char> texels(4 * 4 * 3, level);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
}

void FrameTest::TearDown() {
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    Frame.Random = nullptr;
}
