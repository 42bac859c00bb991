// The settings file against the system's own profile functions. Runs with
// the Japanese ANSI code page 932, the one the file's key names are made for.
#include "host/startup/settings_file_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "host/common/ansi_text_win32.h"
#include "host/startup/settings_values.h"
#include "tests/host/common/code_page_stand_in.h"

namespace {

const char KindKeyBytes[] = "\x42\x47\x4D\x8B\xE6\x95\xAA";
const char RepeatKeyBytes[] = "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4";
const char FileKeyBytes[] = "\x42\x47\x4D\xCC\xA7\xB2\xD9";

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    return bytes;
}

void MakeFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "ID3", 3, &written, nullptr);
    CloseHandle(file);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// A fresh folder per test, removed afterwards.
struct SettingsFileTest : ::testing::Test {
    std::wstring Folder;
    std::wstring Ini;
    HostSettings Values;

    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the test must run with LC_ALL=ja_JP.UTF-8";
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        Folder = std::wstring(temp) + L"ripplume settings " + std::to_wstring(GetCurrentProcessId()) + L" " +
                 FromAnsi(info->name());
        ASSERT_TRUE(CreateDirectoryW(Folder.c_str(), nullptr));
        Ini = Folder + L"\\Ripplume.ini";
    }

    void TearDown() override {
        // Files the tests made; the folder goes only when they are gone.
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW((Folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = Folder + L"\\" + found.cFileName;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveDirectoryW(name.c_str());
                } else {
                    DeleteFileW(name.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(Folder.c_str());
    }

    void WriteKind(const std::wstring& value) { WriteIniString(SettingsSection, KeyBgmKind, value, Ini); }
    void Load() { LoadSettingsFrom(Ini, L"C:\\Host", Values); }
    // OK with a music file chosen, then the next start's load.
    void SaveAndLoadMusicFile(const std::wstring& song) {
        Values.BgmKind = BgmMusicFile;
        Values.BgmFile = song;
        SaveSettingsTo(Ini, L"", Values);
        Values = HostSettings{};
        Load();
    }
};

TEST_F(SettingsFileTest, NoFileGivesTheDefaults) {
    Values.BgmKind = 2;
    Values.BgmRepeat = 4;
    Values.BgmFile = L"C:\\old.mp3";
    Load();
    EXPECT_EQ(Values.BgmKind, 0);
    EXPECT_EQ(Values.BgmRepeat, 0);
    EXPECT_EQ(Values.BgmFile, L"");
    EXPECT_EQ(Values.BgmFolder, L"C:\\Host");
    EXPECT_EQ(ReadIniString(SettingsSection, KeyBgmFile, Ini), L"");
}

TEST_F(SettingsFileTest, SaveWritesTheKeysInCodePage932InOrder) {
    Values.BgmKind = 2;
    Values.BgmFile = L"C:\\\u66F2\\song.mp3";
    SaveSettingsTo(Ini, L"7", Values);
    EXPECT_EQ(Values.BgmRepeat, 7);

    const std::string bytes = FileBytes(Ini);
    EXPECT_NE(bytes.find("[Section]"), std::string::npos) << bytes;
    const size_t kind = bytes.find(std::string(KindKeyBytes) + "=");
    const size_t repeat = bytes.find(std::string(RepeatKeyBytes) + "=");
    const size_t file = bytes.find(std::string(FileKeyBytes) + "=C:\\\x8B\xC8\\song.mp3");
    ASSERT_NE(kind, std::string::npos) << bytes;
    ASSERT_NE(repeat, std::string::npos) << bytes;
    ASSERT_NE(file, std::string::npos) << bytes;
    EXPECT_LT(kind, repeat);
    EXPECT_LT(repeat, file);
    EXPECT_EQ(bytes.find("\xEF\xBB\xBF"), std::string::npos);  // no byte-order mark

    // The values read back as numbers (the system may drop the leading blank).
    EXPECT_EQ(SettingFromText(ReadIniString(SettingsSection, KeyBgmKind, Ini), 0), 2);
    EXPECT_EQ(SettingFromText(ReadIniString(SettingsSection, KeyBgmRepeat, Ini), 0), 7);
    EXPECT_EQ(ReadIniString(SettingsSection, KeyBgmFile, Ini), Values.BgmFile);
}

TEST_F(SettingsFileTest, KeysWrittenAsRawBytesAreFound) {
    const std::string ini = ToAnsi(Ini);
    // (Wine without a generated Japanese locale cannot name files in kanji.)
    MakeFile(Folder + L"\\one.mp3");
    WritePrivateProfileStringA("Section", KindKeyBytes, "2", ini.c_str());
    WritePrivateProfileStringA("Section", RepeatKeyBytes, "5", ini.c_str());
    WritePrivateProfileStringA("Section", FileKeyBytes, (ToAnsi(Folder) + "\\one.mp3").c_str(), ini.c_str());
    Load();
    EXPECT_EQ(Values.BgmKind, 2);
    EXPECT_EQ(Values.BgmRepeat, 5);
    EXPECT_EQ(Values.BgmFile, Folder + L"\\one.mp3");
    EXPECT_EQ(Values.BgmFolder, Folder);
}

TEST_F(SettingsFileTest, SavedSettingsLoadBack) {
    const std::wstring song = Folder + L"\\a song.mp3";
    MakeFile(song);
    Values.BgmKind = 1;
    Values.BgmFile = song;
    SaveSettingsTo(Ini, L"3.5", Values);
    HostSettings saved = Values;
    Values = HostSettings{};
    Load();
    EXPECT_EQ(Values.BgmKind, 1);
    EXPECT_EQ(Values.BgmRepeat, 4);
    EXPECT_EQ(Values.BgmFile, saved.BgmFile);
    EXPECT_EQ(Values.BgmFolder, Folder);
}

TEST_F(SettingsFileTest, BlankRepeatBoxStoresZero) {
    Values.BgmRepeat = 9;
    SaveSettingsTo(Ini, L"", Values);
    EXPECT_EQ(Values.BgmRepeat, 0);
    const std::string stored = ToAnsi(ReadIniString(SettingsSection, KeyBgmRepeat, Ini));
    EXPECT_TRUE(stored == " 0" || stored == "0") << stored;
}

TEST_F(SettingsFileTest, NumbersAreReadLeniently) {
    const std::wstring song = Folder + L"\\song.mp3";
    MakeFile(song);
    WriteIniString(SettingsSection, KeyBgmFile, song, Ini);

    WriteKind(L" 2");
    Load();
    EXPECT_EQ(Values.BgmKind, 2);
    WriteKind(L"2.9");
    Load();
    EXPECT_EQ(Values.BgmKind, 2);
    WriteKind(L"-1.5");
    Load();
    EXPECT_EQ(Values.BgmKind, -2);
    WriteKind(L"abc");
    Load();
    EXPECT_EQ(Values.BgmKind, -2);  // kept
    WriteKind(L"40000");
    Load();
    EXPECT_EQ(Values.BgmKind, -2);  // kept
    WriteKind(L"");
    Load();
    EXPECT_EQ(Values.BgmKind, 0);
}

TEST_F(SettingsFileTest, AudioCdIsKeptWithoutAFile) {
    WriteKind(L" 1");
    WriteIniString(SettingsSection, KeyBgmFile, L"", Ini);
    Load();
    EXPECT_EQ(Values.BgmKind, 1);
    EXPECT_EQ(Values.BgmFile, L"");
    EXPECT_EQ(Values.BgmFolder, L"C:\\Host");

    WriteIniString(SettingsSection, KeyBgmFile, Folder + L"\\gone.mp3", Ini);
    Load();
    EXPECT_EQ(Values.BgmKind, 1);
    EXPECT_EQ(Values.BgmFile, L"");
}

TEST_F(SettingsFileTest, MusicFileThatHasGoneBecomesNoMusic) {
    const std::wstring song = Folder + L"\\song.mp3";
    MakeFile(song);
    WriteKind(L" 2");
    WriteIniString(SettingsSection, KeyBgmFile, song, Ini);
    Load();
    EXPECT_EQ(Values.BgmKind, 2);
    EXPECT_EQ(Values.BgmFile, song);

    DeleteFileW(song.c_str());
    Load();
    EXPECT_EQ(Values.BgmKind, 0);
    EXPECT_EQ(Values.BgmFile, L"");
    EXPECT_EQ(Values.BgmFolder, L"C:\\Host");
}

TEST_F(SettingsFileTest, FolderAsMusicFileBecomesNoMusic) {
    WriteKind(L" 2");
    WriteIniString(SettingsSection, KeyBgmFile, Folder, Ini);
    Load();
    EXPECT_EQ(Values.BgmKind, 0);
    EXPECT_EQ(Values.BgmFile, L"");
}

TEST_F(SettingsFileTest, ValuesOfAnyLengthComeBackWhole) {
    std::wstring value;
    for (int i = 0; i < 3000; ++i) {
        value += static_cast<wchar_t>(L'a' + i % 26);
    }
    WriteIniString(SettingsSection, KeyBgmFile, value, Ini);
    EXPECT_EQ(ReadIniString(SettingsSection, KeyBgmFile, Ini), value);

    // A music file whose name is over 255 bytes in code page 932 (a kanji is two).
    const std::wstring folder = Folder + L"\\" + std::wstring(50, L'\u6CE2');  // 波
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring song = folder + L"\\" + std::wstring(50, L'\u97F3') + L".mp3";  // 音
    MakeFile(song);
    ASSERT_GT(ToAnsi(song).size(), 255u);
    SaveAndLoadMusicFile(song);
    EXPECT_EQ(Values.BgmKind, BgmMusicFile);
    EXPECT_EQ(Values.BgmFile, song);
    DeleteFileW(song.c_str());
    RemoveDirectoryW(folder.c_str());
}

// The system's code page changed since the file was written (the user turned
// on "Use Unicode UTF-8 for worldwide language support"): the stand-in plays
// the new one.
TEST_F(SettingsFileTest, AChoiceWrittenUnder932ReadsTheSameUnderUtf8AndWestern) {
    const std::wstring song = Folder + L"\\\u66F2 \u6CE2\u306E\u97F3.mp3";  // 曲 波の音.mp3
    MakeFile(song);
    Values.BgmKind = BgmMusicFile;
    Values.BgmFile = song;
    SaveSettingsTo(Ini, L"3", Values);
    const std::string written = FileBytes(Ini);
    for (const UINT page : {65001u, 1252u}) {
        StandInCodePage other(page);
        CodePageInPlace inPlace(&other);
        HostSettings read;
        LoadSettingsFrom(Ini, L"C:\\Host", read);
        EXPECT_EQ(read.BgmKind, BgmMusicFile) << page;
        EXPECT_EQ(read.BgmRepeat, 3) << page;
        EXPECT_EQ(read.BgmFile, song) << page;
    }
    EXPECT_EQ(FileBytes(Ini), written);
}

TEST_F(SettingsFileTest, AChoiceWrittenUnderWesternReadsTheSameUnderUtf8AndCyrillic) {
    const std::wstring song = Folder + L"\\caf\u00E9.mp3";
    MakeFile(song);
    // As Western Windows (1252) writes it: no form for the keys' kanji and
    // katakana ("?" each), the name in 1252. Cyrillic (1251) writes the keys
    // alike but reads the name's "é" as another letter, a file that is not there.
    WriteBytes(Ini, "[Section]\r\nBGM?\?= 2\r\nBGM?\?\?\?\?= 4\r\nBGM?\?\?\?=" + ToCodePage(1252, song) + "\r\n");
    for (const UINT page : {65001u, 1251u}) {
        StandInCodePage other(page);
        CodePageInPlace inPlace(&other);
        Load();
        EXPECT_EQ(Values.BgmKind, BgmMusicFile) << page;
        EXPECT_EQ(Values.BgmRepeat, 4) << page;
        EXPECT_EQ(Values.BgmFile, song) << page;
    }
}

TEST_F(SettingsFileTest, AFileSavedAsUnicodeIsReadWhole) {
    const std::wstring song = Folder + L"\\\u66F2 caf\u00E9.mp3";  // 曲 café.mp3
    MakeFile(song);
    const std::wstring text =
        std::wstring(L"\uFEFF[Section]\r\n") + KeyBgmKind + L"=2\r\n" + KeyBgmFile + L"=" + song + L"\r\n";
    WriteBytes(Ini, std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)));
    Load();
    EXPECT_EQ(Values.BgmKind, BgmMusicFile);
    EXPECT_EQ(Values.BgmFile, song);
}

TEST_F(SettingsFileTest, SectionAndKeyNamesCountTo127Characters) {
    const std::wstring longSection(200, L'S');
    const std::wstring longKey = std::wstring(127, L'K') + L"ignored";
    EXPECT_EQ(WriteIniString(longSection, longKey, L"v", Ini), L"");
    EXPECT_EQ(ReadIniString(std::wstring(127, L'S'), std::wstring(127, L'K'), Ini), L"v");
}

TEST_F(SettingsFileTest, FileExists) {
    const std::wstring song = Folder + L"\\song.mp3";
    MakeFile(song);
    EXPECT_TRUE(FileExists(song));
    EXPECT_TRUE(FileExists(song + L"\\"));
    EXPECT_FALSE(FileExists(Folder));
    EXPECT_FALSE(FileExists(Folder + L"\\"));
    EXPECT_FALSE(FileExists(Folder + L"\\missing.mp3"));
    EXPECT_FALSE(FileExists(L""));
    EXPECT_FALSE(FileExists(L"\\"));

    // Held open by someone who shares it with nobody.
    const HANDLE locked = CreateFileW(song.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(FileExists(song));
    CloseHandle(locked);
    EXPECT_TRUE(FileExists(song));

    // Held open by a player that lets others read, or by a writer that lets
    // others read and write: the file is there for us too.
    const HANDLE playing = CreateFileW(song.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(playing, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FileExists(song));
    CloseHandle(playing);
    const HANDLE writing = CreateFileW(song.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writing, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FileExists(song));
    CloseHandle(writing);
}

// "é" and "😀" have no form in code page 932; best fit would make "é" an "e".
const wchar_t Unrepresentable[] = L"caf\u00E9 \U0001F600";

TEST_F(SettingsFileTest, NoCharacterIsSwappedForALookAlike) {
    std::string ansi;
    EXPECT_FALSE(ToAnsiExact(L"caf\u00E9", ansi));
    EXPECT_EQ(ToAnsi(L"caf\u00E9"), "caf?");
    EXPECT_TRUE(ToAnsiExact(L"C:\\\u97F3\u697D\\\u6CE2\u306E\u97F3.mp3", ansi));  // C:\音楽\波の音.mp3
    EXPECT_EQ(ansi, "C:\\\x89\xB9\x8A\x79\\\x94\x67\x82\xCC\x89\xB9.mp3");
}

TEST_F(SettingsFileTest, AMusicFileTheCodePageCannotNameIsStoredByItsShortName) {
    const std::wstring song = Folder + L"\\" + Unrepresentable + L".mp3";
    MakeFile(song);
    SaveAndLoadMusicFile(song);
    EXPECT_EQ(Values.BgmKind, BgmMusicFile);
    ASSERT_FALSE(Values.BgmFile.empty());
    EXPECT_TRUE(FileExists(Values.BgmFile));
    wchar_t longName[MAX_PATH];
    ASSERT_GT(GetLongPathNameW(Values.BgmFile.c_str(), longName, MAX_PATH), 0u);
    EXPECT_EQ(std::wstring(longName), song);
}

TEST_F(SettingsFileTest, ANameWithNoFormInTheCodePageIsNotWrittenAsAnother) {
    // The file does not exist, so it has no short name either: the key is
    // written empty rather than naming "cafe ?.mp3".
    Values.BgmKind = BgmMusicFile;
    Values.BgmFile = Folder + L"\\" + Unrepresentable + L".mp3";
    SaveSettingsTo(Ini, L"", Values);
    EXPECT_NE(FileBytes(Ini).find(std::string(FileKeyBytes) + "=\r\n"), std::string::npos) << FileBytes(Ini);
}

TEST_F(SettingsFileTest, ASettingsFolderTheCodePageCannotNameIsStillTheOneWritten) {
    const std::wstring host = Folder + L"\\caf\u00E9";
    const std::wstring lookAlike = Folder + L"\\cafe";
    ASSERT_TRUE(CreateDirectoryW(host.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(lookAlike.c_str(), nullptr));
    Values.BgmKind = BgmAudioCd;
    SaveSettingsTo(host + L"\\Ripplume.ini", L"3", Values);
    EXPECT_NE(FileBytes(host + L"\\Ripplume.ini").find(std::string(KindKeyBytes) + "=1"), std::string::npos);
    EXPECT_EQ(GetFileAttributesW((lookAlike + L"\\Ripplume.ini").c_str()), INVALID_FILE_ATTRIBUTES);

    HostSettings loaded;
    LoadSettingsFrom(host + L"\\Ripplume.ini", host, loaded);
    EXPECT_EQ(loaded.BgmKind, BgmAudioCd);
    EXPECT_EQ(loaded.BgmRepeat, 3);
    DeleteFileW((host + L"\\Ripplume.ini").c_str());
}

TEST(HostFolder, IsTheProgramsFolderWithoutABackslash) {
    const std::wstring folder = HostFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'\\');
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_EQ(std::wstring(program).rfind(folder + L"\\", 0), 0u);
    EXPECT_EQ(SettingsFilePath(), folder + L"\\Ripplume.ini");
}

}  // namespace
