#include "renderer/frame/frame_pace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr long long Second = 1000000000LL;

// The times frames reach the screen in `seconds`, for a display that
// refreshes every `refresh` nanoseconds with the swap waiting for the refresh,
// or, with refresh 0, for a driver whose swap waits for nothing (1 ms a frame).
std::vector<long long> FramesShown(long long refresh, int seconds) {
    FramePace pace;
    std::vector<long long> shown;
    long long now = 0;
    while (now < seconds * Second) {
        const long long wait = NanosecondsUntilNextFrame(pace, now);
        if (wait > 0) {
            now += wait;
            continue;
        }
        FrameDrawn(pace, now);
        now = refresh ? (now / refresh + 1) * refresh : now + 1000000;
        shown.push_back(now);
    }
    return shown;
}

int MostFramesInAnySecond(const std::vector<long long>& drawn) {
    size_t most = 0;
    for (size_t first = 0; first < drawn.size(); ++first) {
        const auto end = std::lower_bound(drawn.begin(), drawn.end(), drawn[first] + Second);
        most = std::max(most, size_t(end - drawn.begin()) - first);
    }
    return int(most);
}

TEST(FramePace, SixtyFramesASecondOnEveryDisplay) {
    struct Case {
        const char* display;
        long long refresh;
    };
    for (const Case c : {Case{"144 Hz", Second / 144},
                         {"240 Hz", Second / 240},
                         {"no wait for the display", 0},
                         {"120 Hz", Second / 120},
                         {"75 Hz", Second / 75},
                         {"61 Hz", Second / 61},
                         {"60 Hz", Second / 60}}) {
        SCOPED_TRACE(c.display);
        const std::vector<long long> shown = FramesShown(c.refresh, 10);
        EXPECT_LE(MostFramesInAnySecond(shown), 61);
        EXPECT_GE(shown.size(), 590u);
    }
}

TEST(FramePace, ADisplayAtOrBelowSixtyHertzIsNeverHeldBack) {
    for (const long long refresh : {Second / 60, Second * 1001 / 60000 /* 59.94 Hz */, Second / 50}) {
        FramePace pace;
        for (long long now = 0; now < 5 * Second; now += refresh) {
            ASSERT_EQ(NanosecondsUntilNextFrame(pace, now), 0) << refresh << " at " << now;
            FrameDrawn(pace, now);
        }
    }
}

TEST(FramePace, AStallIsNotMadeUpWithABurst) {
    FramePace pace;
    FrameDrawn(pace, 0);
    EXPECT_EQ(NanosecondsUntilNextFrame(pace, 4000000), FrameNanoseconds - 4000000);
    const long long back = 5 * Second;  // after five seconds minimised
    EXPECT_EQ(NanosecondsUntilNextFrame(pace, back), 0);
    FrameDrawn(pace, back);
    EXPECT_EQ(NanosecondsUntilNextFrame(pace, back + 1), FrameNanoseconds - 1);
}

}  // namespace
