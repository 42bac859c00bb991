// The desktop texture built in an off-screen Mesa context and read back.
#include <GL/osmesa.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "renderer/assets/desktop_texture.h"
#include "tests/renderer/assets/bitmap_writer.h"
#include "tests/renderer/assets/decode_result.h"
#include "tests/renderer/assets/test_bitmap_platform.h"

// Mesa's OSMesa loses a few small blocks of every context it makes current;
// they are not ours to free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n";
}

namespace {

class DesktopTexture : public ::testing::Test {
protected:
    void SetUp() override {
        context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
        ASSERT_NE(context_, nullptr);
        ASSERT_TRUE(OSMesaMakeCurrent(context_, buffer_, GL_UNSIGNED_BYTE, 4, 4));
        ShownErrors().clear();
    }
    void TearDown() override {
        if (context_) OSMesaDestroyContext(context_);
    }

    OSMesaContext context_ = nullptr;
    uint8_t buffer_[4 * 4 * 4] = {};
};

TEST_F(DesktopTexture, PackedRowsAreUploadedAsTheyAre) {
    // 2 x 2 RGB: 6-byte rows, which OpenGL's default alignment of 4 would misread.
    BitmapLayout layout;
    layout.width = 2;
    layout.height = 2;
    const std::vector<uint8_t> bytes = WriteBitmap(layout, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00});
    const std::string path = TempFilePath("texture.bmp");
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    ASSERT_TRUE(LoadDesktopTextureFrom(path.c_str(), TestBitmapPlatform()));
    std::remove(path.c_str());

    GLint bound = 0, alignment = 0, minFilter = 0, magFilter = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_NE(Textures[0], 0u);
    EXPECT_EQ(GLuint(bound), Textures[0]);
    EXPECT_EQ(alignment, 8);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);

    uint8_t texels[2 * 2 * 3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    EXPECT_EQ(std::vector<uint8_t>(texels, texels + sizeof texels), Decode(bytes).rgb);
    GLint level1Width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1Width);
    EXPECT_EQ(level1Width, 1) << "mipmap levels are built";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(DesktopTexture, NoPictureMakesNoTexture) {
    Textures[0] = 0;
    const std::string missing = TempFilePath("no-desktop.bmp");
    std::remove(missing.c_str());
    EXPECT_FALSE(LoadDesktopTextureFrom(missing.c_str(), TestBitmapPlatform()));
    EXPECT_EQ(Textures[0], 0u);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

}  // namespace
