#include "host/startup/settings.h"

#include "host/startup/settings_values.h"

HostSettings Settings;

std::vector<SettingWrite> SettingsToWrite(const std::wstring& repeatText, HostSettings& settings) {
    std::vector<SettingWrite> writes;
    writes.push_back({KeyBgmKind, SettingText(settings.BgmKind)});
    settings.BgmRepeat = RepeatFromText(repeatText);
    writes.push_back({KeyBgmRepeat, SettingText(settings.BgmRepeat)});
    writes.push_back({KeyBgmFile, settings.BgmFile});
    return writes;
}
