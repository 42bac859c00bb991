// The settings file Ripplume.ini beside the host program, its loader and
// writer, and the path helpers they share. The file is read and written only
// through the narrow private-profile functions, so it stays in the ANSI code
// page, and read from its bytes, so it reads the same under another one.
#pragma once
#include <cstdint>
#include <string>

#include "host/startup/settings.h"

// The key's value, or empty when the key, section or file is missing. The
// file is read from its bytes, whatever their length, with the key found in
// the form today's code page writes it or in that of Japanese (932), UTF-8
// or Western (1252) Windows, and the value read in the code page that wrote it.
std::wstring ReadIniString(const std::wstring& section, const std::wstring& key, const std::wstring& fileName);
// The same for a file name: of the key's forms and the value's readings, the
// first that names an existing file; else as ReadIniString.
std::wstring ReadIniPath(const std::wstring& section, const std::wstring& key, const std::wstring& fileName);

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
