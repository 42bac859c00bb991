// The music player on the real multimedia system (under Wine with an ALSA
// file sink as the sound card, and no CD drive).
#include "host/music/mci_port_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Waits up to about five seconds for a condition the system reaches by itself.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 100; ++i) {
        if (condition()) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

std::wstring Widen(const char* text) {
    return std::wstring(text, text + strlen(text));
}

int64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (int64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

TEST(Win32MciPort, FailingCommandsGiveTheSystemsErrorText) {
    Win32MciPort port;
    MusicPlayer player(port);
    std::wstring text;
    const int32_t code = SendMci(player, L"frobnicate the drive", text);
    EXPECT_NE(code, 0);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, NoErrorText);
    EXPECT_EQ(QueryMci(player, L"frobnicate the drive"), L"Error:" + std::to_wstring(code));
}

TEST(Win32MciPort, NoCdDriveEndsThePolling) {
    Win32MciPort port;
    MusicPlayer player(port);
    OpenCdAudio(player);
    PollCdAudio(player, 3);
    EXPECT_FALSE(player.CdKeepPolling);
    CloseCdAudio(player);
}

TEST(Win32MciPort, Mp3FilePlaysAndRestartsAfterAStop) {
    MusicPlayer& player = HostMusic();
    const std::wstring mp3 = Widen(RIPPLUME_TEST_MP3);  // its folder name has a blank
    PlayMusicFile(player, mp3);
    EXPECT_TRUE(Eventually([&] { return IsMusicPlaying(player); }));

    player.Port->SendString("stop MP3Play", nullptr, 0);
    EXPECT_TRUE(Eventually([&] { return !IsMusicPlaying(player); }));
    RepeatMusicFile(player);
    EXPECT_TRUE(Eventually([&] { return IsMusicPlaying(player); }));

    CloseMusicFile(player);
    std::wstring text;
    EXPECT_NE(SendMci(player, L"status MP3Play mode", text), 0);  // the alias is gone
}

TEST(Win32MciPort, WaveFileLoopsIntoTheSoundCard) {
    Win32MciPort port;
    MusicPlayer player(port);
    ASSERT_GT(port.WaveOutDeviceCount(), 0) << "no ALSA sink configured";
    const std::wstring sink = Widen(RIPPLUME_TEST_SOUND_SINK);
    DeleteFileW(sink.c_str());  // earlier sound must not count
    PlayWave(player, Widen(RIPPLUME_TEST_WAV));
    // The tone lasts 0.2 s; looping makes far more sound than one pass.
    EXPECT_TRUE(Eventually([&] { return FileSize(sink) > 4 * 35280; })) << "sink size " << FileSize(sink);
    StopWave(player);
}

}  // namespace
