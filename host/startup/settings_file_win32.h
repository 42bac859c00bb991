// The settings file Ripplume.ini beside the host program, its loader and
// writer, and the path helpers they share. The file is read and written only
// through the narrow private-profile functions, so it stays in the ANSI code page.
#pragma once
#include <cstdint>
#include <string>

#include "host/startup/settings.h"

// The key's value, or empty when the key, section or file is missing. Values
// longer than 255 bytes come back cut to 255 bytes.
std::wstring ReadIniString(const std::wstring& section, const std::wstring& key, const std::wstring& fileName);

// Writes one key (at most 127 characters of section and key name count).
// Always returns an empty string; whether the write worked is not reported.
std::wstring WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                            const std::wstring& fileName);

// True when the path names a file that can be opened for reading; false when
// it is missing, a folder or locked. One trailing "\" is ignored.
bool FileExists(const std::wstring& path);

// The folder of the running host program, without a trailing backslash.
std::wstring HostFolder();

// HostFolder() + "\Ripplume.ini".
std::wstring SettingsFilePath();

// Fills Settings from the settings file.
void LoadSettings();
// The same for a given file, with the folder the file chooser falls back to.
void LoadSettingsFrom(const std::wstring& iniPath, const std::wstring& hostFolder, HostSettings& settings);

// The settings dialog's OK: writes BgmKind, then BgmRepeat taken from the
// repeat box's text, then BgmFile, in that order.
void SaveSettings(const std::wstring& repeatText);
void SaveSettingsTo(const std::wstring& iniPath, const std::wstring& repeatText, HostSettings& settings);
