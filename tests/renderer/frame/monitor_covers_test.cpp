#include "renderer/frame/monitor_covers.h"

#include <gtest/gtest.h>

bool operator==(const ScreenRect& a, const ScreenRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

namespace {

std::vector<ScreenRect> Rects(std::initializer_list<ScreenRect> list) {
    return list;
}

constexpr ScreenRect Primary = {0, 0, 1024, 768};

TEST(MonitorCovers, MonitorsBesideThePrimaryAreCoveredWhole) {
    const ScreenRect right = {1024, 0, 2944, 1080}, left = {-1920, -200, 0, 880}, above = {0, -1080, 1920, 0};
    EXPECT_EQ(CoverRects(Rects({Primary}), Primary), Rects({}));
    EXPECT_EQ(CoverRects(Rects({Primary, right}), Primary), Rects({right}));
    EXPECT_EQ(CoverRects(Rects({left, Primary}), Primary), Rects({left}));
    EXPECT_EQ(CoverRects(Rects({Primary, left, above}), Primary), Rects({left, above}));
}

TEST(MonitorCovers, AMonitorOverlappingThePrimaryIsCoveredAroundTheOverlap) {
    // A clone of the primary's size needs nothing; one with a larger mode
    // keeps the water's part and is covered below and to the right of it.
    EXPECT_EQ(CoverRects(Rects({Primary, Primary}), Primary), Rects({}));
    EXPECT_EQ(CoverRects(Rects({{0, 0, 1920, 1080}}), Primary), Rects({{0, 768, 1920, 1080}, {1024, 0, 1920, 768}}));
    // Half over the primary's right side.
    EXPECT_EQ(CoverRects(Rects({{512, 100, 1536, 868}}), Primary),
              Rects({{512, 768, 1536, 868}, {1024, 100, 1536, 768}}));
    // Round a primary it encloses: four bands.
    EXPECT_EQ(CoverRects(Rects({{-100, -50, 1124, 818}}), Primary),
              Rects({{-100, -50, 1124, 0}, {-100, 768, 1124, 818}, {-100, 0, 0, 768}, {1024, 0, 1124, 768}}));
}

}  // namespace
