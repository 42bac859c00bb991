#include <gtest/gtest.h>

#include <cmath>

#include "renderer/gl_api.h"
#include "renderer/water/gl_state.h"
#include "renderer/water/projection.h"
#include "renderer/water/scene_settings.h"
#include "tests/renderer/water/frame_fixture.h"

namespace {

void ExpectPerspective(double aspect) {
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    const double focal = 1.0 / std::tan(22.5 * std::atan(1.0) / 45.0);  // 45 degrees vertically
    EXPECT_NEAR(m[0], focal / aspect, 1e-6 * focal / aspect);
    EXPECT_NEAR(m[5], focal, 1e-6);
    EXPECT_NEAR(m[10], -(1000.0 + 0.1) / (1000.0 - 0.1), 1e-6);
    EXPECT_NEAR(m[11], -1.0, 0.0);
    EXPECT_NEAR(m[14], -2.0 * 1000.0 * 0.1 / (1000.0 - 0.1), 1e-6);
}

TEST_F(FrameTest, ProjectionFollowsTheViewportAndLeavesAnIdentityModelView) {
    ASSERT_NO_FATAL_FAILURE(Prepare(64, 48));
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, 3.0f);

    ApplyProjection(1024, 768);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);
    ExpectPerspective(1024.0 / 768.0);

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
    }
}

TEST_F(FrameTest, ZeroHeightGivesAOnePixelViewportAndTheWidthAsAspect) {
    ASSERT_NO_FATAL_FAILURE(Prepare(64, 48));
    ApplyProjection(300, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 300);
    EXPECT_EQ(viewport[3], 1);
    ExpectPerspective(300.0);
}

TEST_F(FrameTest, FogIsSetUpFromTheGridButOnlyEnabledByTheSwitch) {
    ASSERT_NO_FATAL_FAILURE(Prepare(16, 12));
    EXPECT_EQ(glIsEnabled(GL_FOG), GL_FALSE);  // FogSwitch is 0.0
    GLfloat fog = 0.0f;
    glGetFloatv(GL_FOG_START, &fog);
    EXPECT_FLOAT_EQ(fog, 60.6f);
    glGetFloatv(GL_FOG_END, &fog);
    EXPECT_FLOAT_EQ(fog, 80.8f);
    GLfloat colour[4];
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_EQ(colour[1], 0.5f);
    EXPECT_EQ(colour[2], 1.0f);

    Scene.FogSwitch = 0.999f;
    ApplyFixedGLState();
    EXPECT_EQ(glIsEnabled(GL_FOG), GL_FALSE);
    Scene.FogSwitch = 1.0f;
    ApplyFixedGLState();
    EXPECT_EQ(glIsEnabled(GL_FOG), GL_TRUE);
    glDisable(GL_FOG);
}

}  // namespace
