#include "renderer/frame/render_scale.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "renderer/frame/frame_pace.h"

namespace {

// A software renderer's frame on two cores: a fixed part and a part per pixel
// drawn. The machine's load swings it by up to 15 % either way, at random
// from one decision's frames to the next'.
constexpr double FixedCost = 3e6;
double Load = 1.0;

long long FrameCost(int width, int height, double scale, double perPixel) {
    const double pixels = double(ScaledLength(width, scale)) * ScaledLength(height, scale);
    return (long long)((FixedCost + perPixel * pixels) * Load);
}

struct ScaleRun {
    double Final;
    int Reversals;  // a step up after a step down, or down after up
};

ScaleRun RunFor(RenderScale& scale, int width, int height, int frames, double perPixel = 7.0) {
    ScaleRun run = {1.0, 0};
    double lastStep = 0;
    for (int frame = 0; frame < frames; ++frame) {
        if (frame % FramesPerScaleDecision == 0) Load = 0.85 + (std::rand() % 31) / 100.0;
        const double before = scale.Value;
        const bool changed = NoteFrameCost(scale, FrameCost(width, height, scale.Value, perPixel));
        EXPECT_EQ(changed, scale.Value != before);
        EXPECT_GE(scale.Value, SmallestRenderScale);
        EXPECT_LE(scale.Value, 1.0);
        if (!changed) continue;
        const double step = scale.Value - before;
        if (step * lastStep < 0) ++run.Reversals;
        lastStep = step;
    }
    run.Final = scale.Value;
    return run;
}

TEST(RenderScale, FullSizeWhereItFitsSmallerWhereNotAndNoFlicker) {
    std::srand(25);
    RenderScale small;
    EXPECT_EQ(RunFor(small, 1024, 768, 3600).Final, 1.0);

    for (const int width : {1920, 2560, 7680}) {
        SCOPED_TRACE(width);
        RenderScale scale;
        const ScaleRun run = RunFor(scale, width, width * 9 / 16, 3600);
        EXPECT_LT(run.Final, 1.0);
        EXPECT_EQ(run.Reversals, 0);
        // Settled where a frame fits, or at the smallest scale.
        Load = 1.0;
        EXPECT_TRUE(FrameCost(width, width * 9 / 16, run.Final, 7.0) < FrameNanoseconds ||
                    run.Final == SmallestRenderScale)
            << run.Final;
        // Not smaller than it needs to be: a step up would not fit at the lightest load.
        Load = 0.85;
        if (run.Final < 1.0) {
            EXPECT_GT(FrameCost(width, width * 9 / 16, run.Final + RenderScaleStep, 7.0), 0.6 * FrameNanoseconds);
        }
    }
}

TEST(RenderScale, ComesBackUpWhenFramesGetCheaperAndAFixedScaleStays) {
    std::srand(26);
    RenderScale scale;
    RunFor(scale, 2560, 1440, 600, 30.0);  // a busy machine
    EXPECT_EQ(scale.Value, SmallestRenderScale);
    EXPECT_EQ(RunFor(scale, 2560, 1440, 1200, 0.5).Final, 1.0);  // it went idle

    // Where drawing smaller saves nothing (the time goes into showing the
    // frame), one step down and the smallest scale are tried, undone, and
    // not tried again.
    RenderScale noGain;
    int changes = 0;
    for (int frame = 0; frame < 3000; ++frame) changes += NoteFrameCost(noGain, 25000000);
    EXPECT_EQ(noGain.Value, 1.0);
    EXPECT_EQ(changes, 3);

    // Showing a scaled frame costs 14 ms more than a swap: three quarters
    // size is no cheaper than full size, but half size is.
    RenderScale showCost;
    for (int frame = 0; frame < 1200; ++frame) {
        const double s = showCost.Value;
        NoteFrameCost(showCost, s < 1.0 ? (long long)(14e6 + 12e6 * s * s) : 20000000LL);
    }
    EXPECT_EQ(showCost.Value, SmallestRenderScale);

    RenderScale fixed = FixedRenderScale(0.75);
    EXPECT_EQ(RunFor(fixed, 2560, 1440, 600, 30.0).Final, 0.75);
    EXPECT_EQ(FixedRenderScale(0.2).Value, SmallestRenderScale);
    EXPECT_EQ(FixedRenderScale(3.0).Value, 1.0);
}

}  // namespace
