#include "host/startup/wallpaper_layout.h"

#include <gtest/gtest.h>

bool operator==(const LayoutRect& a, const LayoutRect& b) {
    return a.X == b.X && a.Y == b.Y && a.Width == b.Width && a.Height == b.Height;
}

namespace {

using Rects = std::vector<LayoutRect>;
constexpr LayoutRect OneMonitor = {0, 0, 1024, 768};

Rects On1024x768(WallpaperStyle style, int width, int height, LayoutRect virtualScreen = OneMonitor) {
    return WallpaperRects(style, width, height, 1024, 768, virtualScreen);
}

TEST(WallpaperLayout, StylesAsTheDesktopStoresThem) {
    EXPECT_EQ(WallpaperStyleFrom(L"0", L"0"), WallpaperStyle::Centre);
    EXPECT_EQ(WallpaperStyleFrom(L"0", L"1"), WallpaperStyle::Tile);
    EXPECT_EQ(WallpaperStyleFrom(L"2", L"0"), WallpaperStyle::Stretch);
    EXPECT_EQ(WallpaperStyleFrom(L"6", L""), WallpaperStyle::Fit);
    EXPECT_EQ(WallpaperStyleFrom(L"10", L"0"), WallpaperStyle::Fill);
    EXPECT_EQ(WallpaperStyleFrom(L"22", L"0"), WallpaperStyle::Span);
    EXPECT_EQ(WallpaperStyleFrom(L"", L""), WallpaperStyle::Centre);
    EXPECT_EQ(WallpaperStyleFrom(L"junk", L"1"), WallpaperStyle::Tile);
}

TEST(WallpaperLayout, FillAndFitKeepTheProportionsCentred) {
    // 1920 x 1080 is wider than 4:3: filling cuts its sides, fitting leaves bands above and below.
    EXPECT_EQ(On1024x768(WallpaperStyle::Fill, 1920, 1080), Rects({{-170, 0, 1365, 768}}));
    EXPECT_EQ(On1024x768(WallpaperStyle::Fit, 1920, 1080), Rects({{0, 96, 1024, 576}}));
    // 600 x 1200 is taller: filling cuts top and bottom, fitting leaves bands beside it.
    EXPECT_EQ(On1024x768(WallpaperStyle::Fill, 600, 1200), Rects({{0, -640, 1024, 2048}}));
    EXPECT_EQ(On1024x768(WallpaperStyle::Fit, 600, 1200), Rects({{320, 0, 384, 768}}));
    // A small picture grows; one of the screen's proportions covers it exactly.
    EXPECT_EQ(On1024x768(WallpaperStyle::Fill, 320, 200), Rects({{-102, 0, 1229, 768}}));
    EXPECT_EQ(On1024x768(WallpaperStyle::Fit, 400, 300), Rects({OneMonitor}));
    EXPECT_EQ(On1024x768(WallpaperStyle::Stretch, 1920, 1080), Rects({OneMonitor}));
}

TEST(WallpaperLayout, CentreTileAndSpan) {
    EXPECT_EQ(On1024x768(WallpaperStyle::Centre, 300, 200), Rects({{362, 284, 300, 200}}));
    EXPECT_EQ(On1024x768(WallpaperStyle::Centre, 1920, 1080), Rects({{-448, -156, 1920, 1080}}));
    EXPECT_EQ(On1024x768(WallpaperStyle::Tile, 400, 500), Rects({{0, 0, 400, 500},
                                                                 {400, 0, 400, 500},
                                                                 {800, 0, 400, 500},
                                                                 {0, 500, 400, 500},
                                                                 {400, 500, 400, 500},
                                                                 {800, 500, 400, 500}}));
    // Spanning a second 1024 x 768 monitor to the primary's left: the primary shows the right half.
    EXPECT_EQ(On1024x768(WallpaperStyle::Span, 2048, 768, {-1024, 0, 2048, 768}), Rects({{-1024, 0, 2048, 768}}));
    EXPECT_EQ(On1024x768(WallpaperStyle::Span, 1920, 1080), On1024x768(WallpaperStyle::Fill, 1920, 1080));
    EXPECT_EQ(On1024x768(WallpaperStyle::Fill, 0, 100), Rects({}));
}

}  // namespace

TEST(WallpaperLayout, MonitorsHaveTheirOwnPicturesOnlyWhenTheyDiffer) {
    const std::vector<std::wstring> differ = {L"C:\\a.jpg", L"C:\\b.jpg"};
    EXPECT_TRUE(WallpaperPerMonitor(WallpaperStyle::Fill, differ));
    EXPECT_TRUE(WallpaperPerMonitor(WallpaperStyle::Fill, {L"C:\\a.jpg", L""})) << "one without its own";
    EXPECT_FALSE(WallpaperPerMonitor(WallpaperStyle::Span, differ)) << "one picture spans them";
    EXPECT_FALSE(WallpaperPerMonitor(WallpaperStyle::Fill, {L"C:\\a.jpg", L"C:\\a.jpg"}));
    EXPECT_FALSE(WallpaperPerMonitor(WallpaperStyle::Fill, {L"C:\\a.jpg"}));
    EXPECT_FALSE(WallpaperPerMonitor(WallpaperStyle::Fill, {}));
    EXPECT_EQ(CachedMonitorWallpaperName(0), L"Transcoded_000");
    EXPECT_EQ(CachedMonitorWallpaperName(12), L"Transcoded_012");
    EXPECT_EQ(CachedMonitorWallpaperName(1234), L"Transcoded_1234");
}
