#include "host/music/music_player.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/music/fake_mci.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct MusicPlayerTest : ::testing::Test {
    FakeMci Mci;
    MusicPlayer Player{Mci};

    MusicPlayerTest() { Mci.Player = &Player; }

    std::vector<std::string> TakeCommands() {
        std::vector<std::string> commands = Mci.Commands();
        Mci.Log.clear();
        return commands;
    }
};

const char* const CurrentTrack = "status cdaudio current track";
const char* const NumberOfTracks = "status cdaudio number of tracks";
const char* const CdMode = "status cdaudio mode";

// ---- SendMci, QueryMci, PlayCdTrack

TEST_F(MusicPlayerTest, SendMciOfAnEmptyCommandSendsNothing) {
    std::wstring text = L"old";
    EXPECT_EQ(SendMci(Player, L"", text), -1);
    EXPECT_EQ(text, NoCommandText);
    EXPECT_THAT(Mci.Log, IsEmpty());
}

TEST_F(MusicPlayerTest, SendMciGivesTheReplyOrTheErrorText) {
    Mci.CdOpen = true;
    std::wstring text;
    EXPECT_EQ(SendMci(Player, L"status cdaudio number of tracks", text), 0);
    EXPECT_EQ(text, L"10");
    ASSERT_EQ(Mci.Log.size(), 1u);
    EXPECT_EQ(Mci.Log[0].ReplyChars, ReplyChars);

    EXPECT_EQ(SendMci(Player, L"bogus", text), FakeMci::BadCommand);
    EXPECT_EQ(text, L"error 274 text");

    Mci.ErrorTextsKnown = false;
    EXPECT_EQ(SendMci(Player, L"bogus", text), FakeMci::BadCommand);
    EXPECT_EQ(text, NoErrorText);
}

TEST_F(MusicPlayerTest, SendMciReadsAReplyThatFillsTheWholeBuffer) {
    Mci.TerminateReplies = false;
    Mci.Scripted["status cdaudio mode"] = {0, std::string(700, 'x')};
    std::wstring text;
    EXPECT_EQ(SendMci(Player, L"status cdaudio mode", text), 0);
    EXPECT_EQ(text, std::wstring(ReplyChars, L'x'));
}

TEST_F(MusicPlayerTest, QueryMciGivesErrorAndTheCode) {
    Mci.Scripted["ok"] = {0, "5"};
    Mci.Scripted["negative"] = {-5, ""};
    EXPECT_EQ(QueryMci(Player, L"ok"), L"5");
    EXPECT_EQ(QueryMci(Player, L"status cdaudio mode"), L"Error:263");
    EXPECT_EQ(QueryMci(Player, L"negative"), L"Error:-5");
    EXPECT_EQ(QueryMci(Player, L""), L"Error:-1");
}

TEST_F(MusicPlayerTest, PlayCdTrackLeavesOutEmptyParts) {
    Mci.CdOpen = true;
    EXPECT_EQ(PlayCdTrack(Player, L"cdaudio", L"", L""), 0);
    EXPECT_EQ(PlayCdTrack(Player, L"cdaudio", L"03:00:00:00", L""), 0);
    PlayCdTrack(Player, L"cdaudio", L"", L"5");
    PlayCdTrack(Player, L"cdaudio", L"3", L"5");
    EXPECT_EQ(PlayCdTrack(Player, L"cdaudio", L"junk", L""), FakeMci::BadCommand);
    EXPECT_THAT(TakeCommands(), ElementsAre("play cdaudio", "play cdaudio from 03:00:00:00", "play cdaudio to 5",
                                            "play cdaudio from 3 to 5", "play cdaudio from junk"));
    EXPECT_EQ(Mci.CurrentTrack, 3);
}

// ---- Music file

TEST_F(MusicPlayerTest, MusicFileOpensQuotedAndPlays) {
    PlayMusicFile(Player, L"C:\\My Music\\a song.mp3");
    ASSERT_EQ(Mci.Log.size(), 2u);
    EXPECT_EQ(Mci.Log[0].Command, "open \"C:\\My Music\\a song.mp3\" type MPEGVideo Alias MP3Play");
    EXPECT_EQ(Mci.Log[0].ReplyChars, 0u);
    EXPECT_EQ(Mci.Log[1].Command, "play MP3Play");
    EXPECT_EQ(Mci.Log[1].ReplyChars, 0u);
    EXPECT_TRUE(IsMusicPlaying(Player));
}

TEST_F(MusicPlayerTest, MusicFileThatDoesNotOpenIsNotPlayed) {
    Mci.FileOpenable = false;
    PlayMusicFile(Player, L"C:\\gone.mp3");
    EXPECT_THAT(TakeCommands(), ElementsAre("open \"C:\\gone.mp3\" type MPEGVideo Alias MP3Play"));
    EXPECT_FALSE(IsMusicPlaying(Player));
}

TEST_F(MusicPlayerTest, IsMusicPlayingBeforeAnyFileIsFalse) {
    EXPECT_FALSE(IsMusicPlaying(Player));
    ASSERT_EQ(Mci.Log.size(), 1u);
    EXPECT_EQ(Mci.Log[0].Command, "status MP3Play mode");
    EXPECT_EQ(Mci.Log[0].ReplyChars, FileStatusChars);
}

TEST_F(MusicPlayerTest, IsMusicPlayingComparesTheFirstSevenCharactersExactly) {
    Mci.Scripted["status MP3Play mode"] = {0, "Playing"};
    EXPECT_FALSE(IsMusicPlaying(Player));
    Mci.Scripted["status MP3Play mode"] = {0, "playing and more"};
    EXPECT_TRUE(IsMusicPlaying(Player));
    // A failed status query leaves the earlier reply to be compared again.
    Mci.Scripted["status MP3Play mode"] = {FakeMci::NotOpen, ""};
    EXPECT_TRUE(IsMusicPlaying(Player));
}

TEST_F(MusicPlayerTest, RepeatMusicFileRestartsOnlyWhenNotPlaying) {
    PlayMusicFile(Player, L"C:\\a.mp3");
    TakeCommands();
    RepeatMusicFile(Player);
    EXPECT_THAT(TakeCommands(), ElementsAre("status MP3Play mode"));

    Mci.FileMode = "stopped";  // the file has ended
    RepeatMusicFile(Player);
    EXPECT_THAT(TakeCommands(), ElementsAre("status MP3Play mode", "stop MP3Play", "play MP3Play from 0"));
    EXPECT_EQ(Mci.FileMode, "playing");

    Mci.FileMode = "paused";
    RepeatMusicFile(Player);
    EXPECT_THAT(TakeCommands(), ElementsAre("status MP3Play mode", "stop MP3Play", "play MP3Play from 0"));
}

TEST_F(MusicPlayerTest, PlayWaveLoopsAsynchronouslyWhenThereIsADevice) {
    PlayWave(Player, L"C:\\Sounds\\rain.wav");
    StopWave(Player);
    ASSERT_EQ(Mci.Sounds.size(), 2u);
    EXPECT_EQ(Mci.Sounds[0].Name, "C:\\Sounds\\rain.wav");
    EXPECT_EQ(Mci.Sounds[0].Flags, 9u);
    EXPECT_EQ(Mci.Sounds[1].Name, "<none>");
    EXPECT_EQ(Mci.Sounds[1].Flags, 0u);
}

TEST_F(MusicPlayerTest, PlayWaveWithoutADeviceDoesNothing) {
    Mci.WaveDevices = 0;
    PlayWave(Player, L"C:\\rain.wav");
    Mci.WaveDevices = -1;  // a count the system reports above 2^31
    PlayWave(Player, L"C:\\rain.wav");
    EXPECT_THAT(Mci.Sounds, IsEmpty());
    EXPECT_THAT(Mci.Log, IsEmpty());
}

// ---- Audio CD

TEST_F(MusicPlayerTest, OpenAndCloseCdAudio) {
    OpenCdAudio(Player);
    EXPECT_TRUE(Mci.CdOpen);
    CloseCdAudio(Player);
    EXPECT_FALSE(Mci.CdOpen);
    for (const FakeMci::Sent& sent : Mci.Log) {
        EXPECT_EQ(sent.ReplyChars, 0u) << sent.Command;
    }
    EXPECT_THAT(Mci.Commands(),
                ElementsAre("open cdaudio", "set cdaudio time format tmsf", "stop cdaudio", "close cdaudio"));
}

TEST_F(MusicPlayerTest, WholeDiscStartsOnceAndIsLeftPlaying) {
    OpenCdAudio(Player);
    TakeCommands();
    PollCdAudio(Player, 0);
    EXPECT_TRUE(Player.CdKeepPolling);
    ASSERT_EQ(Mci.Log.size(), 4u);
    EXPECT_EQ(Mci.Log[2].Command, CdMode);
    EXPECT_EQ(Mci.Log[2].ReplyChars, CdModeOffered);
    EXPECT_EQ(Mci.Log[3].Command, "play cdaudio");
    EXPECT_EQ(Mci.CdMode, "playing");
    TakeCommands();

    for (int track = 0; track < 3; ++track) {
        Mci.NextTrack();
        PollCdAudio(Player, 0);
    }
    EXPECT_TRUE(Player.CdKeepPolling);
    EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode, CurrentTrack, NumberOfTracks, CdMode,
                                            CurrentTrack, NumberOfTracks, CdMode));

    Mci.CdMode = "stopped";  // the disc has ended
    PollCdAudio(Player, 0);
    EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode, "play cdaudio"));
}

TEST_F(MusicPlayerTest, OnlyAStoppedDriveIsStartedAgain) {
    // A paused or seeking drive is not playing, but it is not stopped either:
    // the user or the drive has it in hand, so the poll leaves it alone.
    OpenCdAudio(Player);
    for (const char* mode : {"paused", "seeking", "not ready"}) {
        Mci.CdMode = mode;
        TakeCommands();
        PollCdAudio(Player, 0);
        EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode)) << mode;
        PollCdAudio(Player, 1);  // on the repeat track already
        EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode)) << mode;
        EXPECT_TRUE(Player.CdKeepPolling);
    }
}

TEST_F(MusicPlayerTest, RepeatTrackIsStartedAndReturnedTo) {
    OpenCdAudio(Player);
    TakeCommands();
    PollCdAudio(Player, 3);
    EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode, "status cdaudio position track 3",
                                            "play cdaudio from 03:00:00:00"));
    EXPECT_EQ(Mci.CurrentTrack, 3);
    EXPECT_EQ(Mci.CdMode, "playing");

    PollCdAudio(Player, 3);
    EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode));

    Mci.NextTrack();  // track 4 begins
    PollCdAudio(Player, 3);
    EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode, "status cdaudio position track 3",
                                            "play cdaudio from 03:00:00:00"));
    EXPECT_EQ(Mci.CurrentTrack, 3);
    EXPECT_TRUE(Player.CdKeepPolling);
}

TEST_F(MusicPlayerTest, RepeatTrackRestartsAfterAStopOnTheSameTrack) {
    OpenCdAudio(Player);
    Mci.CurrentTrack = 3;
    Mci.CdMode = "stopped";
    TakeCommands();
    PollCdAudio(Player, 3);
    EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode, "status cdaudio position track 3",
                                            "play cdaudio from 03:00:00:00"));
}

// An unusable drive or reply ends the polling; the poll asks no more than
// it needs to know that, and plays nothing.
TEST(CdPolling, AnUnusableDriveOrReplyEndsThePolling) {
    struct Case {
        const char* what;
        void (*arrange)(FakeMci&);
        int16_t repeat;
        std::vector<std::string> queries;  // empty: not looked at
    };
    const Case cases[] = {
        {"no drive", [](FakeMci& m) { m.DrivePresent = false; }, 3, {CurrentTrack}},
        {"the track count fails",
         [](FakeMci& m) {
             m.Scripted[NumberOfTracks] = {FakeMci::NoDriver, ""};
         },
         0,
         {CurrentTrack, NumberOfTracks}},
        {"err in a reply",
         [](FakeMci& m) {
             m.Scripted[CurrentTrack] = {0, "a terrible reply"};
         },
         0,
         {}},
        {"ERR in any case",
         [](FakeMci& m) {
             m.Scripted[NumberOfTracks] = {0, "eRr"};
         },
         0,
         {}},
        {"a current track that is no number",
         [](FakeMci& m) {
             m.Scripted[CurrentTrack] = {0, "three"};
         },
         3,
         {CurrentTrack, NumberOfTracks, CdMode}},
        {"a current track beyond 16 bits (65539 must not pass for 3)",
         [](FakeMci& m) {
             m.CdMode = "playing";
             m.Scripted[CurrentTrack] = {0, "65539"};
         },
         3,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeMci mci;
        MusicPlayer player{mci};
        mci.Player = &player;
        OpenCdAudio(player);
        c.arrange(mci);
        mci.Log.clear();
        PollCdAudio(player, c.repeat);
        EXPECT_FALSE(player.CdKeepPolling);
        if (!c.queries.empty()) {
            EXPECT_EQ(mci.Commands(), c.queries);
        }
        EXPECT_EQ(mci.CurrentTrack, 1);
    }
}

TEST_F(MusicPlayerTest, TheWholeDiscNeverLooksAtTheTrackNumber) {
    OpenCdAudio(Player);
    Mci.Scripted[CurrentTrack] = {0, "three"};
    TakeCommands();
    PollCdAudio(Player, 0);
    EXPECT_TRUE(Player.CdKeepPolling);
    EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode, "play cdaudio"));
}

TEST_F(MusicPlayerTest, TrackTheDiscLacksKeepsPollingWithoutEffect) {
    OpenCdAudio(Player);
    Mci.CdMode = "playing";
    Mci.CurrentTrack = 5;
    TakeCommands();
    for (int16_t track : {int16_t{12}, int16_t{-1}}) {
        PollCdAudio(Player, track);
        EXPECT_TRUE(Player.CdKeepPolling);
        const std::string position = "status cdaudio position track " + std::to_string(track);
        EXPECT_THAT(TakeCommands(),
                    ElementsAre(CurrentTrack, NumberOfTracks, CdMode, position, "play cdaudio from Error:282"));
        EXPECT_EQ(Mci.CurrentTrack, 5);
        EXPECT_EQ(Mci.CdMode, "playing");
    }
}

TEST_F(MusicPlayerTest, FailedModeQueryComparesTheEarlierModeAgain) {
    OpenCdAudio(Player);
    PollCdAudio(Player, 0);  // reads "stopped" and starts the disc
    Mci.CdModeQueryFails = true;
    TakeCommands();
    PollCdAudio(Player, 0);
    EXPECT_THAT(TakeCommands(), ElementsAre(CurrentTrack, NumberOfTracks, CdMode, "play cdaudio"));
}

TEST_F(MusicPlayerTest, EveryPollStartsOutKeepingOn) {
    Mci.DrivePresent = false;
    PollCdAudio(Player, 0);
    EXPECT_FALSE(Player.CdKeepPolling);
    Mci.DrivePresent = true;
    OpenCdAudio(Player);
    PollCdAudio(Player, 0);
    EXPECT_TRUE(Player.CdKeepPolling);
}

}  // namespace
