// The host's settings: the background-music choice, kept in Ripplume.ini
// beside the host program.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct HostSettings {
    int16_t BgmKind = 0;     // 0 none, 1 audio CD, 2 music file
    int16_t BgmRepeat = 0;   // CD track to repeat, 0 for none
    std::wstring BgmFile;    // music file path, or empty
    std::wstring BgmFolder;  // where the file chooser opens
};

extern HostSettings Settings;

enum BgmKindValue : int16_t { BgmNone = 0, BgmAudioCd = 1, BgmMusicFile = 2 };

struct SettingWrite {
    const wchar_t* Key;
    std::wstring Value;
};

// What the settings dialog's OK writes, in order: the kind, the repeat track
// (taken from the repeat box's text into settings.BgmRepeat), the music file.
std::vector<SettingWrite> SettingsToWrite(const std::wstring& repeatText, HostSettings& settings);
