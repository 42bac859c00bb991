#include "host/startup/settings_file_win32.h"

#include <windows.h>

#include <vector>

#include "host/common/ansi_text_win32.h"
#include "host/common/code_page_calls_win32.h"
#include "host/startup/ini_bytes.h"
#include "host/startup/settings_values.h"

namespace {

constexpr size_t IniNameChars = 127;  // section and key names live in 128-character buffers

std::wstring NameField(const std::wstring& name) {
    std::wstring field = name.substr(0, name.find(L'\0'));
    if (field.size() > IniNameChars) {
        field.resize(IniNameChars);
    }
    return field;
}

// The code pages a settings file may have been written in: today's first,
// then the Japanese one its key names were made for, UTF-8 and Western. The
// key names tell which one wrote a value (in Western "BGM区分" is "BGM??").
std::vector<UINT> WriterCodePages() {
    std::vector<UINT> pages = {CodePage->ActiveCodePage()};
    for (const UINT page : {932u, 65001u, 1252u}) {
        if (page != pages.front()) pages.push_back(page);
    }
    return pages;
}

constexpr DWORD MostSettingsBytes = 1 << 20;  // far beyond any settings file

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (bytes.size() < MostSettingsBytes && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    return bytes;
}

struct StoredValue {
    std::string Bytes;
    UINT WrittenIn;  // the code page whose form of the key holds it
};

// A file saved as Unicode (UTF-16 with its mark, as Notepad may save it) is
// one the system's wide profile function reads whole.
bool IsUtf16File(const std::string& bytes) {
    return bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0;
}

std::wstring WideProfileString(const std::wstring& section, const std::wstring& key, const std::wstring& fileName) {
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD got = GetPrivateProfileStringW(NameField(section).c_str(), NameField(key).c_str(), L"", &value[0],
                                                   static_cast<DWORD>(value.size()), fileName.c_str());
        if (got + 1 < value.size() || value.size() >= MostSettingsBytes) {
            value.resize(got);
            return value;
        }
        value.resize(value.size() * 2);  // cut off: try a larger buffer
    }
}

// The key's value in each form the file holds it in, today's form first.
std::vector<StoredValue> StoredValues(const std::string& bytes, const std::wstring& section, const std::wstring& key) {
    std::vector<StoredValue> values;
    if (bytes.empty()) return values;
    std::vector<std::string> keysSeen;
    for (const UINT page : WriterCodePages()) {
        const std::string keyForm = ToCodePage(page, NameField(key));
        bool seen = false;
        for (const std::string& earlier : keysSeen) seen = seen || earlier == keyForm;
        std::string value;
        if (!seen && FindIniValue(bytes, ToCodePage(page, NameField(section)), keyForm, value)) {
            values.push_back({value, page});
        }
        keysSeen.push_back(keyForm);
    }
    return values;
}

// The texts a stored value can be read as: in the code page that wrote it,
// then in every other one that reads it as valid text.
std::vector<std::wstring> Readings(const StoredValue& value) {
    std::vector<std::wstring> texts;
    std::vector<UINT> pages = {value.WrittenIn};
    for (const UINT page : WriterCodePages()) {
        if (page != value.WrittenIn) pages.push_back(page);
    }
    for (const UINT page : pages) {
        std::wstring text;
        if (FromCodePageExact(page, value.Bytes, text)) texts.push_back(text);
    }
    if (texts.empty()) texts.push_back(FromAnsi(value.Bytes));
    return texts;
}

}  // namespace

std::wstring ReadIniString(const std::wstring& section, const std::wstring& key, const std::wstring& fileName) {
    const std::string bytes = FileBytes(fileName);
    if (IsUtf16File(bytes)) return WideProfileString(section, key, fileName);
    const std::vector<StoredValue> values = StoredValues(bytes, section, key);
    return values.empty() ? std::wstring() : Readings(values.front()).front();
}

std::wstring ReadIniPath(const std::wstring& section, const std::wstring& key, const std::wstring& fileName) {
    const std::string bytes = FileBytes(fileName);
    if (IsUtf16File(bytes)) return WideProfileString(section, key, fileName);
    const std::vector<StoredValue> values = StoredValues(bytes, section, key);
    for (const StoredValue& value : values) {
        for (const std::wstring& text : Readings(value)) {
            if (FileExists(text)) return text;
        }
    }
    return values.empty() ? std::wstring() : Readings(values.front()).front();
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
    settings.BgmFile = ReadIniPath(SettingsSection, KeyBgmFile, iniPath);
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
