#include "renderer/frame/monitor_layout.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const ScreenRect& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.Left, left);
    EXPECT_EQ(r.Top, top);
    EXPECT_EQ(r.Right, right);
    EXPECT_EQ(r.Bottom, bottom);
}

void ExpectViewport(const Viewport& v, int x, int y, int width, int height) {
    EXPECT_EQ(v.X, x);
    EXPECT_EQ(v.Y, y);
    EXPECT_EQ(v.Width, width);
    EXPECT_EQ(v.Height, height);
}

// A 1920 x 1080 primary, a 1280 x 1024 monitor left of it and reaching above
// it, and an 800 x 600 one to its right.
const std::vector<Monitor> Mixed = {{{0, 0, 1920, 1080}, L"\\\\.\\DISPLAY1"},
                                    {{-1280, -300, 0, 724}, L"\\\\.\\DISPLAY2"},
                                    {{1920, 0, 2720, 600}, L"\\\\.\\DISPLAY3"}};

TEST(MonitorLayout, ViewportsTileTheWindowOverTheVirtualScreen) {
    const ScreenRect window = BoundingRect(Mixed);
    ExpectRect(window, -1280, -300, 2720, 1080);
    // GL counts rows from the bottom of the window.
    ExpectViewport(ViewportFor(Mixed[0].Rect, window), 1280, 0, 1920, 1080);
    ExpectViewport(ViewportFor(Mixed[1].Rect, window), 0, 356, 1280, 1024);
    ExpectViewport(ViewportFor(Mixed[2].Rect, window), 3200, 480, 800, 600);
    // One monitor at the origin: the whole window, as a single screen always was.
    ExpectViewport(ViewportFor({0, 0, 1024, 768}, {0, 0, 1024, 768}), 0, 0, 1024, 768);
    ExpectRect(BoundingRect({}), 0, 0, 0, 0);
}

TEST(MonitorLayout, EachMonitorsPartOfTheMirroredPictureIsMirroredInPlace) {
    const ScreenRect captured = BoundingRect(Mixed);  // 4000 x 1380
    // The leftmost monitor's part is at the picture's right edge, and so on.
    ExpectRect(PicturePart(Mixed[1].Rect, captured, 4000, 1380), 2720, 0, 4000, 1024);
    ExpectRect(PicturePart(Mixed[0].Rect, captured, 4000, 1380), 800, 300, 2720, 1380);
    ExpectRect(PicturePart(Mixed[2].Rect, captured, 4000, 1380), 0, 300, 800, 900);
    ExpectRect(PicturePart({0, 0, 1024, 768}, {0, 0, 1024, 768}, 1024, 768), 0, 0, 1024, 768);
    // A picture smaller than the monitors (they changed before the renderer
    // started) gives what it has, and nothing past its edges.
    ExpectRect(PicturePart(Mixed[2].Rect, captured, 2000, 700), 0, 300, 0, 700);  // empty
    ExpectRect(PicturePart(Mixed[1].Rect, captured, 2000, 700), 720, 0, 2000, 700);
}

TEST(MonitorLayout, ThePointerStirsTheMonitorUnderIt) {
    const ScreenRect window = BoundingRect(Mixed);
    int x = 0, y = 0;
    EXPECT_EQ(MonitorAt(Mixed, window, 0, 0), 1);
    EXPECT_EQ(MonitorAt(Mixed, window, 1280, 300), 0);
    PointOnMonitor(Mixed[0].Rect, window, 1280, 300, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(MonitorAt(Mixed, window, 3999, 899), 2);
    PointOnMonitor(Mixed[2].Rect, window, 3999, 899, &x, &y);
    EXPECT_EQ(x, 799);
    EXPECT_EQ(y, 599);
    // Below the short monitor on the right, and past the window: no monitor.
    EXPECT_EQ(MonitorAt(Mixed, window, 3999, 900), -1);
    EXPECT_EQ(MonitorAt(Mixed, window, 4000, 0), -1);
}

TEST(MonitorLayout, AMonitorKeepsItsWaterByNameThroughAChange) {
    // DISPLAY1 changed its mode, DISPLAY2 was unplugged, DISPLAY4 arrived.
    const std::vector<Monitor> after = {{{0, 0, 1280, 720}, L"\\\\.\\DISPLAY4"},
                                        {{0, 0, 2560, 1440}, L"\\\\.\\DISPLAY1"},
                                        {{2560, 0, 3360, 600}, L"\\\\.\\DISPLAY3"}};
    EXPECT_EQ(CarriedOver(Mixed, after), (std::vector<int>{-1, 0, 2}));
    EXPECT_EQ(CarriedOver(Mixed, {}), std::vector<int>{});
    // Two monitors that report one name share no water.
    const std::vector<Monitor> twins = {{{0, 0, 10, 10}, L"A"}, {{10, 0, 20, 10}, L"A"}};
    EXPECT_EQ(CarriedOver({twins[0]}, twins), (std::vector<int>{0, -1}));
}

TEST(MonitorLayout, TexturesAreAsLargeAsTheMonitorsPartUpToTheGlsLimit) {
    EXPECT_EQ(TextureSide(1024, 8192), 1024);
    EXPECT_EQ(TextureSide(1080, 8192), 2048);
    EXPECT_EQ(TextureSide(1920, 8192), 2048);
    EXPECT_EQ(TextureSide(3840, 2048), 2048);
    EXPECT_EQ(TextureSide(1, 8192), 1);
    EXPECT_EQ(TextureSide(0, 8192), 1);
    EXPECT_EQ(TextureSide(5000, 0), 1);
}

}  // namespace
