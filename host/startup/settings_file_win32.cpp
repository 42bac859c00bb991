#include "host/startup/settings_file_win32.h"

#include <windows.h>

#include <cstring>

#include "host/common/ansi_text_win32.h"
#include "host/startup/settings_values.h"

namespace {

constexpr DWORD IniValueChars = 256;
constexpr size_t IniNameChars = 127;  // section and key names live in 128-character buffers

std::wstring NameField(const std::wstring& name) {
    std::wstring field = name.substr(0, name.find(L'\0'));
    if (field.size() > IniNameChars) {
        field.resize(IniNameChars);
    }
    return field;
}

}  // namespace

std::wstring ReadIniString(const std::wstring& section, const std::wstring& key, const std::wstring& fileName) {
    char value[IniValueChars] = {};
    const std::wstring file = AnsiSafePath(fileName);
    if (file.empty()) {
        return std::wstring();
    }
    GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), "", value, IniValueChars,
                             ToAnsi(file).c_str());
    return FromAnsi(std::string(value, strnlen(value, IniValueChars)));
}

std::wstring WriteIniString(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                            const std::wstring& fileName) {
    // A settings file whose name the code page cannot hold is not written
    // at all, rather than under a name that means another file.
    const std::wstring file = AnsiSafePath(fileName);
    if (!file.empty()) {
        WritePrivateProfileStringA(ToAnsi(NameField(section)).c_str(), ToAnsi(NameField(key)).c_str(),
                                   ToAnsi(value).c_str(), ToAnsi(file).c_str());
    }
    return std::wstring();
}

bool FileExists(const std::wstring& path) {
    std::wstring name = path.substr(0, path.find(L'\0'));
    if (!name.empty() && name.back() == L'\\') {
        name.pop_back();
    }
    if (name.empty()) {
        return false;
    }
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        SetLastError(ERROR_SUCCESS);
        return false;
    }
    // Some systems open folders for reading too; a folder is never a music file.
    BY_HANDLE_FILE_INFORMATION info;
    const bool isFile = GetFileInformationByHandle(file, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(file);
    SetLastError(ERROR_SUCCESS);
    return isFile;
}

std::wstring HostFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // cut off: try a larger buffer
    }
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring SettingsFilePath() {
    return HostFolder() + L"\\Ripplume.ini";
}

void LoadSettingsFrom(const std::wstring& iniPath, const std::wstring& hostFolder, HostSettings& settings) {
    settings.BgmKind = SettingFromText(ReadIniString(SettingsSection, KeyBgmKind, iniPath), settings.BgmKind);
    settings.BgmRepeat = SettingFromText(ReadIniString(SettingsSection, KeyBgmRepeat, iniPath), settings.BgmRepeat);

    // The file check comes last, so only a music-file choice is downgraded
    // when its file has gone; an audio-CD choice stays whatever the file key says.
    settings.BgmFile = ReadIniString(SettingsSection, KeyBgmFile, iniPath);
    if (!settings.BgmFile.empty() && !FileExists(settings.BgmFile)) {
        settings.BgmFile.clear();
    }
    if (settings.BgmFile.empty() && settings.BgmKind == BgmMusicFile) {
        settings.BgmKind = BgmNone;
    }

    settings.BgmFolder = settings.BgmFile.empty() ? hostFolder : DirectoryOf(settings.BgmFile);
}

void LoadSettings() {
    LoadSettingsFrom(SettingsFilePath(), HostFolder(), Settings);
}

void SaveSettingsTo(const std::wstring& iniPath, const std::wstring& repeatText, HostSettings& settings) {
    for (const SettingWrite& write : SettingsToWrite(repeatText, settings)) {
        // A file name goes in a form the code page holds (see AnsiSafePath).
        const bool isPath = std::wstring(write.Key) == KeyBgmFile;
        WriteIniString(SettingsSection, write.Key, isPath ? AnsiSafePath(write.Value) : write.Value, iniPath);
    }
}

void SaveSettings(const std::wstring& repeatText) {
    SaveSettingsTo(SettingsFilePath(), repeatText, Settings);
}
