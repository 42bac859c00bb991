#include "renderer/water/water_views.h"

#include <gtest/gtest.h>

#include <cmath>

#include "renderer/assets/desktop_texture.h"
#include "tests/renderer/water/frame_fixture.h"

namespace {

TEST(ScaledViewport, ViewsThatMeetStillMeetAndFullSizeIsUntouched) {
    // Two 1365-pixel-wide monitors side by side, the second shorter, in GL's coordinates.
    const Viewport left = {0, 0, 1365, 768}, right = {1365, 168, 1365, 600};
    for (const double scale : {0.5, 0.625, 0.875}) {
        const Viewport a = ScaledViewport(left, scale), b = ScaledViewport(right, scale);
        EXPECT_EQ(a.X + a.Width, b.X) << scale;
        EXPECT_EQ(b.X + b.Width, std::lround(2730 * scale)) << scale;  // the scaled window's edge
        EXPECT_EQ(b.Y + b.Height, a.Y + a.Height) << scale;
    }
    const Viewport same = ScaledViewport(right, 1.0);
    EXPECT_TRUE(same.X == 1365 && same.Y == 168 && same.Width == 1365 && same.Height == 600);
}

// Pixels of the columns [from, to) that are mostly red and mostly blue.
void CountRedBlue(const OffscreenContext& context, int from, int to, int* red, int* blue) {
    *red = *blue = 0;
    for (int y = 0; y < context.Height(); ++y)
        for (int x = from; x < to; ++x) {
            const unsigned char* p = context.Pixel(x, y);
            if (p[0] > 100 && p[2] < 50) ++*red;
            if (p[2] > 100 && p[0] < 50) ++*blue;
        }
}

TEST_F(FrameTest, EachViewDrawsItsOwnPictureInItsOwnViewport) {
    ASSERT_NO_FATAL_FAILURE(Prepare(96, 32));
    // A 4:3 view on the left and a narrower one beside it.
    std::vector<WaterView> views;
    views.push_back(NewWaterView({0, 0, 48, 32}, MakeColourTexture(200, 0, 0)));
    views.push_back(NewWaterView({48, 0, 48, 24}, MakeColourTexture(0, 0, 200)));
    const FrameState before = Frame;
    DrawWaterViews(views);
    glFinish();

    int red = 0, blue = 0;
    CountRedBlue(Context(), 0, 48, &red, &blue);
    EXPECT_GT(red, 48 * 32 / 4);
    EXPECT_EQ(blue, 0);
    CountRedBlue(Context(), 48, 96, &red, &blue);
    EXPECT_GT(blue, 48 * 24 / 4);
    EXPECT_EQ(red, 0);
    // Nothing above the short view: its clear and its water stay inside it.
    for (int x = 48; x < 96; ++x) EXPECT_EQ(Context().Pixel(x, 28)[2], 0) << x;

    // Each view moved on a frame; the shared frame state is as it was.
    EXPECT_EQ(views[0].State.OrbitAngleX, 180.1f);
    EXPECT_EQ(views[1].State.OrbitAngleX, 180.1f);
    EXPECT_EQ(Frame.OrbitAngleX, before.OrbitAngleX);
    for (WaterView& view : views) ReleaseWaterView(view);
}

TEST_F(FrameTest, AStirDentsOnlyTheWaterOfItsView) {
    ASSERT_NO_FATAL_FAILURE(Prepare(64, 48));
    std::vector<WaterView> views;
    views.push_back(NewWaterView({0, 0, 32, 48}, MakeColourTexture(1, 1, 1)));
    views.push_back(NewWaterView({32, 0, 32, 48}, MakeColourTexture(1, 1, 1)));
    StirWaterView(views[1], 16, 24);  // the middle of the second view: cell 50, 50
    bool secondDented = false, firstDented = false, sharedDented = false;
    for (int c = 0; c < 101; ++c)
        for (int r = 0; r < 101; ++r) {
            secondDented |= views[1].Grids->HeightGrid[c][r].y != 0.0;
            firstDented |= views[0].Grids->HeightGrid[c][r].y != 0.0;
            sharedDented |= Water.HeightGrid[c][r].y != 0.0;
        }
    EXPECT_TRUE(secondDented);
    EXPECT_FALSE(firstDented);
    EXPECT_FALSE(sharedDented);
    for (WaterView& view : views) ReleaseWaterView(view);
}

}  // namespace
