// The zoom rectangles: from the remembered point to the window and back.
#include "host/startup/zoom_win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Animation {
    HWND window;
    int kind;
    RECT from, to;
};

struct ZoomRecorder : ZoomSystem {
    std::vector<Animation> Recorded;
    BOOL AnimateRects(HWND window, int kind, const RECT* from, const RECT* to) override {
        Recorded.push_back({window, kind, *from, *to});
        return TRUE;
    }
};

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class ZoomTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = ZoomCalls;
        ZoomCalls = &recorder;
        Zoom = ZoomPoint{};
        // Message-only: it has a rectangle, but needs no display.
        window =
            CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 100, 50, 400, 300, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        ZoomCalls = saved;
        if (window) DestroyWindow(window);
    }
    ZoomRecorder recorder;
    std::vector<Animation>& Recorded = recorder.Recorded;
    ZoomSystem* saved = nullptr;
    HWND window = nullptr;
    const RECT windowRect = {100, 50, 500, 350};
};

TEST_F(ZoomTest, OpensFromThePointAndClosesBackIntoIt) {
    Zoom.ZoomOriginX = 300;
    Zoom.ZoomOriginY = 200;
    ZoomOpen(window);
    SetWindowPos(window, nullptr, 120, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ZoomClose(window);

    ASSERT_EQ(Recorded.size(), 2u);
    const RECT point = {300, 200, 300, 200};
    EXPECT_EQ(Recorded[0].window, window);
    EXPECT_EQ(Recorded[0].kind, IDANI_CAPTION);
    EXPECT_TRUE(Same(Recorded[0].from, point));
    EXPECT_TRUE(Same(Recorded[0].to, windowRect));
    // Closing starts from where the window is now and ends at the same point.
    EXPECT_EQ(Recorded[1].kind, IDANI_CAPTION);
    EXPECT_TRUE(Same(Recorded[1].from, RECT{120, 60, 520, 360}));
    EXPECT_TRUE(Same(Recorded[1].to, point));
}

TEST_F(ZoomTest, UnsetPointIsTheScreensTopLeftCorner) {
    ZoomOpen(window);
    ZoomClose(window);
    ASSERT_EQ(Recorded.size(), 2u);
    EXPECT_TRUE(Same(Recorded[0].from, RECT{0, 0, 0, 0}));
    EXPECT_TRUE(Same(Recorded[1].to, RECT{0, 0, 0, 0}));
}

TEST_F(ZoomTest, PointLeftOfThePrimaryScreenKeepsItsSign) {
    Zoom.ZoomOriginX = -640;
    Zoom.ZoomOriginY = 12;
    ZoomOpen(window);
    ASSERT_EQ(Recorded.size(), 1u);
    EXPECT_TRUE(Same(Recorded[0].from, RECT{-640, 12, -640, 12}));
}

}  // namespace
