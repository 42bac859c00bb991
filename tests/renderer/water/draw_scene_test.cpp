#include "renderer/water/draw_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "renderer/assets/desktop_texture.h"
#include "renderer/gl_api.h"
#include "renderer/water/scene_settings.h"
#include "renderer/water/water_grid.h"
#include "tests/renderer/water/frame_fixture.h"

namespace {

struct Vec3 {
    double x, y, z;
};

// The eye position held by the current model-view matrix: -R^T t.
Vec3 EyeFromModelView(const GLfloat m[16]) {
    const double t[3] = {m[12], m[13], m[14]};
    double eye[3];
    for (int j = 0; j < 3; ++j) {
        eye[j] = -(m[j * 4 + 0] * t[0] + m[j * 4 + 1] * t[1] + m[j * 4 + 2] * t[2]);
    }
    return {eye[0], eye[1], eye[2]};
}

void ExpectEye(double x, double y, double z) {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const Vec3 eye = EyeFromModelView(m);
    EXPECT_NEAR(eye.x, x, 2e-4);
    EXPECT_NEAR(eye.y, y, 2e-4);
    EXPECT_NEAR(eye.z, z, 2e-4);

    // The camera looks at (0, 4, 0) and keeps its side vector level.
    const double to[3] = {-eye.x, 4.0 - eye.y, -eye.z};
    const double length = std::sqrt(to[0] * to[0] + to[1] * to[1] + to[2] * to[2]);
    EXPECT_NEAR(-m[2], to[0] / length, 1e-5);
    EXPECT_NEAR(-m[6], to[1] / length, 1e-5);
    EXPECT_NEAR(-m[10], to[2] / length, 1e-5);
    EXPECT_NEAR(m[4], 0.0, 1e-6);  // side vector's y
    EXPECT_GT(m[5], 0.0f);         // up stays up
}

TEST_F(FrameTest, CameraOrbitsFromHalfTurnAtHeightTwenty) {
    ASSERT_NO_FATAL_FAILURE(Prepare(64, 48));
    ASSERT_TRUE(DrawScene());
    EXPECT_EQ(Frame.OrbitAngleX, 180.1f);
    EXPECT_EQ(Frame.OrbitAngleZ, 180.1f);
    ExpectEye(-31.39998, 20.0, -0.03619);

    ASSERT_TRUE(DrawScene());
    EXPECT_EQ(Frame.OrbitAngleX, static_cast<float>(180.1f + 0.1));
    ExpectEye(-31.39987, 20.0, -0.09098);

    // The model-view is rebuilt every frame, not multiplied onto the last one.
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(5.0f, 6.0f, 7.0f);
    Frame.OrbitAngleX = Frame.OrbitAngleZ = 360.0f - 0.1f;
    ASSERT_TRUE(DrawScene());
    ExpectEye(31.4 * std::cos(360.0 * 3.141 / 180.0), 20.0, 31.4 * std::sin(360.0 * 3.141 / 180.0));
    EXPECT_GT(Frame.OrbitAngleX, 359.99f);  // not wrapped
}

// One triangle as OpenGL received it in feedback mode.
struct FedTriangle {
    float window[3][3];  // x, y, z in window coordinates
    float tex[3][2];     // s, t
};

// Draws one frame in feedback mode under an orthographic projection that
// holds the whole grid, so every triangle reaches the feedback buffer unclipped.
std::vector<FedTriangle> FeedBackOneFrame(GLdouble modelView[16], GLdouble projection[16], GLint viewport[4]) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-150.0, 150.0, -150.0, 150.0, -500.0, 500.0);
    glMatrixMode(GL_MODELVIEW);

    // Per vertex: window x, y, z, RGBA colour, texture s, t, r, q.
    constexpr int VertexFloats = 3 + 4 + 4;
    std::vector<GLfloat> buffer(30000 * (2 + 3 * VertexFloats));
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    EXPECT_TRUE(DrawScene());
    const GLint used = glRenderMode(GL_RENDER);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);

    std::vector<FedTriangle> triangles;
    EXPECT_GE(used, 0) << "feedback buffer overflowed";
    for (GLint i = 0; i < used;) {
        if (buffer[i] != GL_POLYGON_TOKEN || buffer[i + 1] != 3.0f) {
            ADD_FAILURE() << "unexpected feedback token " << buffer[i] << " at " << i;
            break;
        }
        i += 2;
        FedTriangle triangle;
        for (int v = 0; v < 3; ++v, i += VertexFloats) {
            for (int k = 0; k < 3; ++k) {
                triangle.window[v][k] = buffer[i + k];
            }
            triangle.tex[v][0] = buffer[i + 7];
            triangle.tex[v][1] = buffer[i + 8];
        }
        triangles.push_back(triangle);
    }
    return triangles;
}

TEST_F(FrameTest, SendsTwentyThousandTrianglesOfTheGridInOrder) {
    ASSERT_NO_FATAL_FAILURE(Prepare(256, 192));
    DropRipple(50, 50);  // moving points, so positions must come from the heights
    GLdouble modelView[16];
    GLdouble projection[16];
    GLint viewport[4];
    const std::vector<FedTriangle> triangles = FeedBackOneFrame(modelView, projection, viewport);
    ASSERT_EQ(triangles.size(), 20000u);

    const float du = 1.0f / 101.0f;
    const float dv = 1.0f / 101.0f;
    // Corners of each triangle as (column, row) offsets from its cell.
    const int corners[2][3][2] = {{{0, 0}, {1, 0}, {0, 1}}, {{1, 1}, {0, 1}, {1, 0}}};
    for (size_t n = 0; n < triangles.size(); ++n) {
        const int cell = static_cast<int>(n / 2);
        const int c = cell % 100;
        const int r = cell / 100;
        for (int v = 0; v < 3; ++v) {
            const int dc = corners[n % 2][v][0];
            const int dr = corners[n % 2][v][1];
            const GridPoint& p = Water.HeightGrid[c + dc][r + dr];
            GLdouble wx, wy, wz;
            ASSERT_TRUE(gluProject(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z), modelView,
                                   projection, viewport, &wx, &wy, &wz));
            ASSERT_NEAR(triangles[n].window[v][0], wx, 0.01) << "triangle " << n << " vertex " << v;
            ASSERT_NEAR(triangles[n].window[v][1], wy, 0.01) << "triangle " << n << " vertex " << v;
            // The first frame draws with a scroll of 0.0.
            ASSERT_NEAR(triangles[n].tex[v][0], (c + dc) * du, 1e-5) << "triangle " << n;
            ASSERT_NEAR(triangles[n].tex[v][1], (r + dr) * dv, 1e-5) << "triangle " << n;
        }
    }
}

TEST_F(FrameTest, TextureScrollAdvancesAThousandthAndWrapsBelowOne) {
    ASSERT_NO_FATAL_FAILURE(Prepare(16, 12));
    EXPECT_EQ(Frame.TextureScroll, 1.0f);
    GLdouble modelView[16];
    GLdouble projection[16];
    GLint viewport[4];
    std::vector<FedTriangle> triangles = FeedBackOneFrame(modelView, projection, viewport);
    ASSERT_FALSE(triangles.empty());
    EXPECT_EQ(Frame.TextureScroll, 0.0f);
    EXPECT_EQ(triangles[0].tex[0][0], 0.0f);

    triangles = FeedBackOneFrame(modelView, projection, viewport);
    ASSERT_EQ(triangles.size(), 20000u);
    EXPECT_EQ(Frame.TextureScroll, static_cast<float>(0.0f + 0.001));
    EXPECT_FLOAT_EQ(triangles[0].tex[0][0], 0.001f);
    // The last cell's far corner lies a whole picture width on, scroll included.
    EXPECT_FLOAT_EQ(triangles.back().tex[0][0], 0.001f + 100.0f / 101.0f);

    for (int frame = 0; frame < 10; ++frame) {
        const float before = Frame.TextureScroll;
        ASSERT_TRUE(DrawScene());
        EXPECT_EQ(Frame.TextureScroll, static_cast<float>(before + 0.001));
    }

    Frame.TextureScroll = 0.9985f;
    ASSERT_TRUE(DrawScene());
    EXPECT_EQ(Frame.TextureScroll, static_cast<float>(0.9985f + 0.001));
    ASSERT_TRUE(DrawScene());
    EXPECT_EQ(Frame.TextureScroll, 0.0f);
}

// A stand-in for rand() that counts its calls and answers from a script.
int RandomCalls = 0;
const int* RandomScript = nullptr;
struct ScriptedSource : RandomSource {
    int Next() override { return RandomScript[RandomCalls++]; }
} ScriptedRandom;

TEST_F(FrameTest, DropsOnTheHundredAndFiftiethFrameAndEvery149FramesAfter) {
    ASSERT_NO_FATAL_FAILURE(Prepare(1, 1));

    // The first drop comes from the runtime's unseeded rand(): row, then column.
    std::srand(1);
    const int firstRow = std::rand() % 101;
    const int firstColumn = std::rand() % 101;
    std::srand(1);
    for (int frame = 1; frame <= 149; ++frame) {
        ASSERT_TRUE(DrawScene());
    }
    EXPECT_EQ(Frame.DropCounter, 149);
    ASSERT_TRUE(DrawScene());
    EXPECT_EQ(Frame.DropCounter, 1);
    EXPECT_LT(Water.HeightGrid[firstColumn][firstRow].y, -1.9);

    // From here on the counter restarts at 1, so the next drop is frame 299.
    const int script[] = {101 * 3 + 20, 70};
    RandomScript = script;
    RandomCalls = 0;
    Frame.Random = &ScriptedRandom;
    for (int frame = 151; frame <= 298; ++frame) {
        ASSERT_TRUE(DrawScene()) << "frame " << frame;
        ASSERT_EQ(RandomCalls, 0) << "frame " << frame;
    }
    EXPECT_GT(Water.HeightGrid[70][20].y, -1.0);
    ASSERT_TRUE(DrawScene());
    EXPECT_EQ(RandomCalls, 2);
    EXPECT_EQ(Frame.DropCounter, 1);
    // Row first (taken modulo 101), then column.
    EXPECT_LT(Water.HeightGrid[70][20].y, -1.9);
    EXPECT_GT(Water.HeightGrid[20][70].y, -1.0);
}

TEST_F(FrameTest, TheDropFallsBeforeTheFramesWaterStep) {
    ASSERT_NO_FATAL_FAILURE(Prepare(1, 1));
    for (int frame = 1; frame < 149; ++frame) {
        ASSERT_TRUE(DrawScene());
    }
    DropRipple(30, 30);  // some motion, so the step changes every point it reaches
    ASSERT_TRUE(DrawScene());

    // The dropping frame must leave the drop with one step over it.
    static WaterGrids before;
    static WaterGrids drawn;
    before = Water;
    const int script[] = {40, 60};
    RandomScript = script;
    RandomCalls = 0;
    Frame.Random = &ScriptedRandom;
    ASSERT_TRUE(DrawScene());
    ASSERT_EQ(RandomCalls, 2);
    drawn = Water;

    Water = before;
    DropRipple(60, 40);
    PropagateWaves();
    for (int c = 0; c <= 100; ++c) {
        for (int r = 0; r <= 100; ++r) {
            ASSERT_EQ(drawn.HeightGrid[c][r].y, Water.HeightGrid[c][r].y) << c << "," << r;
            ASSERT_EQ(drawn.VelocityGrid[c][r].y, Water.VelocityGrid[c][r].y) << c << "," << r;
        }
    }
}

TEST_F(FrameTest, RandomDropsMayFallOnTheBorder) {
    ASSERT_NO_FATAL_FAILURE(Prepare(1, 1));
    const int script[] = {100, 202 + 45};
    RandomScript = script;
    RandomCalls = 0;
    Frame.Random = &ScriptedRandom;
    Frame.DropCounter = 148;
    ASSERT_TRUE(DrawScene());
    EXPECT_EQ(RandomCalls, 0);
    ASSERT_TRUE(DrawScene());
    EXPECT_EQ(RandomCalls, 2);
    // Column 45, row 100: only the samples in rows 98 and 99 land on the grid.
    EXPECT_LT(Water.HeightGrid[45][99].y, -1.0);
    EXPECT_LT(Water.HeightGrid[45][98].y, -1.0);
    EXPECT_EQ(Water.HeightGrid[45][100].y, 0.0);
}

TEST_F(FrameTest, SurfaceAddsUpOverBlackWhereItOverlapsItself) {
    constexpr int Width = 256;
    constexpr int Height = 192;
    ASSERT_NO_FATAL_FAILURE(Prepare(Width, Height));

    // Pixels by the number of surface layers on them: 0 to 3, or 4 when the
    // sum saturates. Anything else is not a sum of the grey picture.
    auto countLayers = [&](int counts[5]) {
        glFinish();
        for (int i = 0; i < 5; ++i) counts[i] = 0;
        int other = 0;
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const unsigned char* p = Context().Pixel(x, y);
                if (p[0] != p[1] || p[1] != p[2]) {
                    ++other;
                } else if (p[0] == 0xFF) {
                    ++counts[4];
                } else if (p[0] % 0x40 == 0) {
                    ++counts[p[0] / 0x40];
                } else {
                    ++other;
                }
            }
        }
        return other;
    };

    // Flat water covers every pixel it reaches exactly once.
    ASSERT_TRUE(DrawScene());
    int counts[5];
    EXPECT_EQ(countLayers(counts), 0);
    EXPECT_GT(counts[0], 0);  // the sky above the far edge
    EXPECT_GT(counts[1], Width * Height / 4);
    EXPECT_EQ(counts[2] + counts[3] + counts[4], 0);
    const unsigned char* top = Context().Pixel(Width / 2, Height - 1);
    EXPECT_EQ(top[0] + top[1] + top[2], 0);
    const unsigned char* bottom = Context().Pixel(Width / 2, 0);
    EXPECT_EQ(bottom[0], 0x40);

    // A dent folds the surface over itself as seen from the camera: its near
    // wall is drawn on top of its floor and the two add up.
    for (int c = 40; c <= 60; c += 5) {
        DropRipple(c, 50);
    }
    glClearDepth(0.25);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    ASSERT_TRUE(DrawScene());
    EXPECT_EQ(countLayers(counts), 0);
    EXPECT_GT(counts[2] + counts[3] + counts[4], 0);

    // The frame neither clears nor writes depth: the buffer still holds 0.25.
    std::vector<GLushort> depth(Width * Height);
    glReadPixels(0, 0, Width, Height, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, depth.data());
    int written = 0;
    for (GLushort d : depth) {
        written += d < 0x3FF0 || d > 0x4010;
    }
    EXPECT_EQ(written, 0);
}

TEST_F(FrameTest, EveryFrameIsTexturedNotOnlyTheFirst) {
    ASSERT_NO_FATAL_FAILURE(Prepare(64, 48));
    // The grey picture shows as grey on flat water; an untextured surface is white.
    for (int frame = 1; frame <= 3; ++frame) {
        ASSERT_TRUE(DrawScene());
        glFinish();
        const unsigned char* bottom = Context().Pixel(32, 0);
        EXPECT_EQ(bottom[0], 0x40) << "frame " << frame;
        EXPECT_EQ(bottom[1], 0x40) << "frame " << frame;
        EXPECT_EQ(bottom[2], 0x40) << "frame " << frame;
    }
}

TEST_F(FrameTest, RestoresDepthWritesAndSwitchesBlendingAndTexturingOff) {
    ASSERT_NO_FATAL_FAILURE(Prepare(16, 12));
    ASSERT_TRUE(DrawScene());
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
    GLint source = 0;
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_ONE);
    EXPECT_EQ(destination, GL_ONE);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), Textures[0]);
}

}  // namespace
