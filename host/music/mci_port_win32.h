// The music player's way to the Windows multimedia library (winmm).
#pragma once
#include "host/music/music_player.h"

struct Win32MciPort : MciPort {
    int32_t SendString(const std::string& command, char* reply, unsigned replyChars) override;
    bool GetErrorString(int32_t code, char* text, unsigned chars) override;
    int32_t WaveOutDeviceCount() override;
    void PlaySoundName(const char* nameOrNull, unsigned flags) override;
    std::string ToAnsi(const std::wstring& text) override;
    std::wstring FromAnsi(const std::string& text) override;
};

// The host's one music player, bound to the Win32 port.
MusicPlayer& HostMusic();
