#include "host/startup/saver_run.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseMusic, FollowsTheKindAndTheLastThreeLetters)
{
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

TEST(RendererWatch, TheRunEndsWhenTheSeenWindowHasGone)
{
    RendererWatch watch;
    EXPECT_FALSE(RunIsOver(watch, true, true));
    EXPECT_FALSE(RunIsOver(watch, true, true));
    EXPECT_TRUE(RunIsOver(watch, false, true));  // window closed, process still ending
    RendererWatch other;
    EXPECT_FALSE(RunIsOver(other, true, true));
    EXPECT_TRUE(RunIsOver(other, false, false));
}

TEST(RendererWatch, AStartingRendererIsWaitedForWhileItsProcessRuns)
{
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

TEST(RendererWatch, ARendererThatEndedOrNeverStartedEndsTheRunAtOnce)
{
    RendererWatch neverStarted;
    EXPECT_TRUE(RunIsOver(neverStarted, false, false));
    RendererWatch endedEarly;
    EXPECT_FALSE(RunIsOver(endedEarly, false, true));
    EXPECT_TRUE(RunIsOver(endedEarly, false, false));
}

}  // namespace
