#include "host/startup/saver_run.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseMusic, FollowsTheKindAndTheLastThreeLetters) {
    EXPECT_EQ(ChooseMusic(1, L""), MusicChoice::AudioCd);
    EXPECT_EQ(ChooseMusic(1, L"C:\\a.mp3"), MusicChoice::AudioCd);
    EXPECT_EQ(ChooseMusic(2, L"C:\\Music\\song.Mp3"), MusicChoice::Mp3File);
    EXPECT_EQ(ChooseMusic(2, L"C:\\Music\\song.MP3"), MusicChoice::Mp3File);
    EXPECT_EQ(ChooseMusic(2, L"C:\\Music\\loop.wav"), MusicChoice::WaveFile);
    EXPECT_EQ(ChooseMusic(2, L"C:\\Music\\loop.wma"), MusicChoice::None);
    EXPECT_EQ(ChooseMusic(2, L"C:\\Music\\loop.wav "), MusicChoice::None);
    EXPECT_EQ(ChooseMusic(2, L"wav"), MusicChoice::WaveFile);
    EXPECT_EQ(ChooseMusic(2, L"av"), MusicChoice::None);
    EXPECT_EQ(ChooseMusic(2, L""), MusicChoice::None);
    EXPECT_EQ(ChooseMusic(0, L"C:\\a.mp3"), MusicChoice::None);
    EXPECT_EQ(ChooseMusic(-2, L"C:\\a.mp3"), MusicChoice::None);
    EXPECT_EQ(ChooseMusic(3, L"C:\\a.wav"), MusicChoice::None);
}

TEST(RendererWatch, TheRunEndsWhenTheSeenWindowHasGone) {
    RendererWatch watch;
    EXPECT_FALSE(RunIsOver(watch, true, true));
    EXPECT_FALSE(RunIsOver(watch, true, true));
    EXPECT_TRUE(RunIsOver(watch, false, true));  // window closed, process still ending
    RendererWatch other;
    EXPECT_FALSE(RunIsOver(other, true, true));
    EXPECT_TRUE(RunIsOver(other, false, false));
}

TEST(RendererWatch, AStartingRendererIsWaitedForWhileItsProcessRuns) {
    RendererWatch watch;
    for (int tick = 1; tick < RendererStartTicks; ++tick) {
        ASSERT_FALSE(RunIsOver(watch, false, true)) << "tick " << tick;
    }
    EXPECT_TRUE(RunIsOver(watch, false, true));  // it never showed a window

    RendererWatch late;
    for (int tick = 0; tick < 10; ++tick) {
        ASSERT_FALSE(RunIsOver(late, false, true));
    }
    EXPECT_FALSE(RunIsOver(late, true, true));
    EXPECT_TRUE(RunIsOver(late, false, true));
}

TEST(RendererWatch, ARendererThatEndedOrNeverStartedEndsTheRunAtOnce) {
    RendererWatch neverStarted;
    EXPECT_TRUE(RunIsOver(neverStarted, false, false));
    RendererWatch endedEarly;
    EXPECT_FALSE(RunIsOver(endedEarly, false, true));
    EXPECT_TRUE(RunIsOver(endedEarly, false, false));
}

}  // namespace

TEST(SaverTimers, EachMusicGetsItsOwnTimerAndTheWatchTicksTwiceASecond) {
    // An MP3 file is looked at once a second, the CD five times a second.
    const std::optional<TimerStart> mp3 = MusicTimer(MusicChoice::Mp3File);
    ASSERT_TRUE(mp3.has_value());
    EXPECT_EQ(mp3->Timer, SaverTimer::MusicRepeat);
    EXPECT_EQ(mp3->Interval, 1000u);
    const std::optional<TimerStart> cd = MusicTimer(MusicChoice::AudioCd);
    ASSERT_TRUE(cd.has_value());
    EXPECT_EQ(cd->Timer, SaverTimer::CdPoll);
    EXPECT_EQ(cd->Interval, 200u);
    // The sound player loops a WAV file by itself.
    EXPECT_FALSE(MusicTimer(MusicChoice::WaveFile).has_value());
    EXPECT_FALSE(MusicTimer(MusicChoice::None).has_value());

    EXPECT_EQ(WatchTimer.Timer, SaverTimer::RendererWatch);
    EXPECT_EQ(WatchTimer.Interval, 500u);
    // A starting renderer gets 20 seconds of watch ticks to show its window.
    EXPECT_EQ(RendererStartTicks * WatchTimer.Interval, 20000u);
}
