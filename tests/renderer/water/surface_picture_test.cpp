// The surface drawn from vertex arrays without a depth test looks as the
// one-call-a-vertex drawing with the depth test on did, pixel for pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "renderer/assets/desktop_texture.h"
#include "renderer/gl_api.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/scene_settings.h"
#include "renderer/water/surface_mesh.h"
#include "renderer/water/water_grid.h"
#include "tests/renderer/water/frame_fixture.h"

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

// A picture with detail in every texel, so a texture coordinate that moves shows.
void MakeDetailedTexture() {
    constexpr int Size = 64;
    std::vector<unsigned char> texels(Size * Size * 3);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            unsigned char* texel = &texels[(y * Size + x) * 3];
            texel[0] = static_cast<unsigned char>(x * 4);
            texel[1] = static_cast<unsigned char>(y * 4);
            texel[2] = static_cast<unsigned char>(((x ^ y) & 8) ? 0x60 : 0x10);
        }
    }
    glBindTexture(GL_TEXTURE_2D, Textures[0]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, Size, Size, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// The earlier drawing: a depth-tested, depth-cleared frame, one call a vertex,
// every cell, of the current water under the model-view the frame left.
void DrawReferenceSurface() {
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, Textures[0]);
    glColor3f(1.0f, 1.0f, 1.0f);
    const float du = 1.0f / Scene.GridPointsX;
    const float dv = 1.0f / Scene.GridPointsZ;
    const WaterGrids& water = CurrentWater();
    const auto vertex = [&](int c, int r, float s, float t) {
        const GridPoint& p = water.HeightGrid[c][r];
        glTexCoord2d(s, t);
        glVertex3f(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
    };
    glBegin(GL_TRIANGLES);
    for (int r = 0; r < 100; ++r) {
        for (int c = 0; c < 100; ++c) {
            const float s0 = c * du + Frame.TextureScroll;
            const float s1 = s0 + du;
            const float t0 = r * dv;
            const float t1 = t0 + dv;
            vertex(c, r, s0, t0);
            vertex(c + 1, r, s1, t0);
            vertex(c, r + 1, s0, t1);
            vertex(c + 1, r + 1, s1, t1);
            vertex(c, r + 1, s0, t1);
            vertex(c + 1, r, s1, t0);
        }
    }
    glEnd();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
}

std::vector<unsigned char> ReadFrame() {
    std::vector<unsigned char> pixels(Width * Height * 4);
    glReadPixels(0, 0, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

double RootMeanSquareError(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.size(); i += 4) {
        for (std::size_t k = 0; k < 3; ++k, ++count) {
            const double d = double(a[i + k]) - double(b[i + k]);
            sum += d * d;
        }
    }
    return std::sqrt(sum / double(count));
}

TEST_F(FrameTest, ArrayDrawingShowsThePictureOfTheEarlierDrawing) {
    ASSERT_NO_FATAL_FAILURE(Prepare(Width, Height));
    MakeDetailedTexture();
    for (int c = 20; c <= 80; c += 15) {
        DropRipple(c, 60);
    }
    // Angles all round the orbit, each after a few frames of moving water.
    for (float angle : {180.0f, 235.0f, 300.0f, 20.0f, 95.0f, 150.0f}) {
        Frame.OrbitAngleX = Frame.OrbitAngleZ = angle;
        for (int frame = 0; frame < 3; ++frame) {
            ASSERT_TRUE(DrawScene());
        }
        const std::vector<unsigned char> drawn = ReadFrame();
        DrawReferenceSurface();
        const std::vector<unsigned char> reference = ReadFrame();
        int lit = 0;
        for (std::size_t i = 0; i < reference.size(); i += 4) lit += reference[i] + reference[i + 1] != 0;
        EXPECT_GT(lit, Width * Height / 4) << "angle " << angle;
        EXPECT_LT(RootMeanSquareError(drawn, reference), 0.1) << "angle " << angle;
    }
}

TEST_F(FrameTest, CellsBehindTheCameraGetNoTriangles) {
    ASSERT_NO_FATAL_FAILURE(Prepare(64, 48));
    ASSERT_TRUE(DrawScene());
    GLfloat projection[16];
    GLfloat modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glMatrixMode(GL_PROJECTION);
    glMultMatrixf(modelView);
    GLfloat clip[16];
    glGetFloatv(GL_PROJECTION_MATRIX, clip);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);

    SurfaceMesh mesh;
    BuildSurfaceMesh(Water, 101, 101, 0.0f, clip, mesh);
    // The camera stands inside the grid's edge looking across it.
    EXPECT_GT(mesh.Indices.size(), 0u);
    EXPECT_LT(mesh.Indices.size(), 100u * 100u * 6u * 3u / 4u);
    const GLfloat seesAll[16] = {0.001f, 0, 0, 0, 0, 0.001f, 0, 0, 0, 0, 0.001f, 0, 0, 0, 0, 1};
    BuildSurfaceMesh(Water, 101, 101, 0.0f, seesAll, mesh);
    EXPECT_EQ(mesh.Indices.size(), 100u * 100u * 6u);
}

}  // namespace
