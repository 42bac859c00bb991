#include "host/startup/settings.h"
#include "host/startup/settings_values.h"

#include <gtest/gtest.h>

#include <vector>

#include <cwchar>
#include <string>

TEST(SettingsValues, KeyNamesHaveTheirExactCharacters) {
    EXPECT_EQ(std::wstring(KeyBgmKind), std::wstring(L"BGM\u533A\u5206"));
    EXPECT_EQ(std::wstring(KeyBgmRepeat), std::wstring(L"BGM\uFF98\uFF8B\uFF9F\uFF70\uFF84"));
    EXPECT_EQ(std::wstring(KeyBgmFile), std::wstring(L"BGM\uFF8C\uFF67\uFF72\uFF99"));
    EXPECT_EQ(std::wstring(SettingsSection), std::wstring(L"Section"));
}

TEST(SettingsValues, LoadedNumbersAreRoundedDown) {
    EXPECT_EQ(SettingFromText(L" 2", 9), 2);
    EXPECT_EQ(SettingFromText(L"2", 9), 2);
    EXPECT_EQ(SettingFromText(L"2.9", 9), 2);
    EXPECT_EQ(SettingFromText(L"-1.5", 9), -2);
    EXPECT_EQ(SettingFromText(L"-2", 9), -2);
    EXPECT_EQ(SettingFromText(L"-2.000", 9), -2);
    EXPECT_EQ(SettingFromText(L"-0.001", 9), -1);
    EXPECT_EQ(SettingFromText(L"+4", 9), 4);
    EXPECT_EQ(SettingFromText(L".5", 9), 0);
    EXPECT_EQ(SettingFromText(L"-.5", 9), -1);
    EXPECT_EQ(SettingFromText(L"5.", 9), 5);
    EXPECT_EQ(SettingFromText(L" \t3 \t", 9), 3);
    EXPECT_EQ(SettingFromText(L"0007", 9), 7);
}

TEST(SettingsValues, EmptyTextGivesZeroButOtherTextKeepsTheEarlierValue) {
    EXPECT_EQ(SettingFromText(L"", 9), 0);
    for (const wchar_t* text : {L"abc", L" ", L".", L"-", L"+", L"1 2", L"2x", L"1e3", L"&H10", L"0x10", L"1,000",
                                L"--1", L"1.2.3", L"\uFF12"}) {
        EXPECT_EQ(SettingFromText(text, 9), 9) << "text: " << std::string(text, text + std::wcslen(text));
    }
}

TEST(SettingsValues, LoadedNumbersOutside16BitsKeepTheEarlierValue) {
    EXPECT_EQ(SettingFromText(L"32767", 9), 32767);
    EXPECT_EQ(SettingFromText(L"32767.99", 9), 32767);
    EXPECT_EQ(SettingFromText(L"-32768", 9), -32768);
    EXPECT_EQ(SettingFromText(L"32768", 9), 9);
    EXPECT_EQ(SettingFromText(L"-32768.5", 9), 9);  // rounds down to -32769
    EXPECT_EQ(SettingFromText(L"4294967298", 9), 9);
    EXPECT_EQ(SettingFromText(L"-99999999999999999999999999999999", 9), 9);
    EXPECT_EQ(SettingFromText(std::wstring(5000, L'9'), 9), 9);
}

TEST(SettingsValues, WrittenNumbersHaveASignPosition) {
    EXPECT_EQ(SettingText(0), L" 0");
    EXPECT_EQ(SettingText(2), L" 2");
    EXPECT_EQ(SettingText(30), L" 30");
    EXPECT_EQ(SettingText(-1), L"-1");
    EXPECT_EQ(SettingText(32767), L" 32767");
    EXPECT_EQ(SettingText(-32768), L"-32768");
    for (int16_t value : {int16_t{0}, int16_t{7}, int16_t{-3}, int16_t{-32768}}) {
        EXPECT_EQ(SettingFromText(SettingText(value), 99), value);
    }
}

TEST(SettingsValues, RepeatTextIsRoundedHalfToEven) {
    EXPECT_EQ(RepeatFromText(L"7"), 7);
    // Typed with the IME on: full-width digits, point, sign and blank.
    EXPECT_EQ(RepeatFromText(L"\uFF17"), 7);                    // ７
    EXPECT_EQ(RepeatFromText(L"\uFF11\uFF12"), 12);             // １２
    EXPECT_EQ(RepeatFromText(L"\u3000\uFF13\uFF0E\uFF15"), 4);  // 　３．５
    EXPECT_EQ(RepeatFromText(L"\uFF0D\uFF12"), -2);             // －２
    EXPECT_EQ(RepeatFromText(L"\uFF11\uFF41"), 0);              // １ａ
    EXPECT_EQ(RepeatFromText(L" 12 "), 12);
    EXPECT_EQ(RepeatFromText(L"2.5"), 2);
    EXPECT_EQ(RepeatFromText(L"3.5"), 4);
    EXPECT_EQ(RepeatFromText(L"0.5"), 0);
    EXPECT_EQ(RepeatFromText(L"2.51"), 3);
    EXPECT_EQ(RepeatFromText(L"2.500000000001"), 3);
    EXPECT_EQ(RepeatFromText(L"2.49999"), 2);
    EXPECT_EQ(RepeatFromText(L"-2.5"), -2);
    EXPECT_EQ(RepeatFromText(L"-3.5"), -4);
}

TEST(SettingsValues, RepeatTextThatIsNoUsableNumberStoresZero) {
    EXPECT_EQ(RepeatFromText(L""), 0);
    EXPECT_EQ(RepeatFromText(L"abc"), 0);
    EXPECT_EQ(RepeatFromText(L"3 tracks"), 0);
    EXPECT_EQ(RepeatFromText(L"32767.4"), 32767);
    EXPECT_EQ(RepeatFromText(L"32767.5"), 0);  // rounds to 32768
    EXPECT_EQ(RepeatFromText(L"-32768.5"), -32768);
    EXPECT_EQ(RepeatFromText(L"-32769"), 0);
    EXPECT_EQ(RepeatFromText(L"65539"), 0);  // not wrapped to 3
    EXPECT_EQ(RepeatFromText(std::wstring(400, L'9')), 0);
}

TEST(SettingsValues, HashHashFormat) {
    EXPECT_EQ(FormatHashHash(0), L"");
    EXPECT_EQ(FormatHashHash(1), L"1");
    EXPECT_EQ(FormatHashHash(30), L"30");
    EXPECT_EQ(FormatHashHash(100), L"100");
    EXPECT_EQ(FormatHashHash(-5), L"-5");
}

TEST(SettingsValues, DirectoryOf) {
    EXPECT_EQ(DirectoryOf(L"C:\\Music\\song.mp3"), L"C:\\Music");
    EXPECT_EQ(DirectoryOf(L"C:\\song.mp3"), L"C:");
    EXPECT_EQ(DirectoryOf(L"C:song.mp3"), L"C:");
    EXPECT_EQ(DirectoryOf(L"song.mp3"), L"");
    EXPECT_EQ(DirectoryOf(L"\\\\server\\share\\song.wav"), L"\\\\server\\share");
    EXPECT_EQ(DirectoryOf(L"C:\\Music\\"), L"C:\\Music");
    EXPECT_EQ(DirectoryOf(L"D:\\a:b\\c.mp3"), L"D:\\a:b");
    EXPECT_EQ(DirectoryOf(L"\\"), L"");
    EXPECT_EQ(DirectoryOf(L""), L"");
}

TEST(SettingsToWrite, OkWritesKindRepeatAndFileInOrderWithASignPosition) {
    // The leading blank is made here; the system may drop it on the way to
    // the file, so this is the one place to see it.
    HostSettings settings;
    settings.BgmKind = BgmMusicFile;
    settings.BgmRepeat = 9;
    settings.BgmFile = L"C:\\Music\\a b.mp3";
    const std::vector<SettingWrite> writes = SettingsToWrite(L"\uFF17", settings);
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(std::wstring(writes[0].Key), KeyBgmKind);
    EXPECT_EQ(writes[0].Value, L" 2");
    EXPECT_EQ(std::wstring(writes[1].Key), KeyBgmRepeat);
    EXPECT_EQ(writes[1].Value, L" 7");
    EXPECT_EQ(settings.BgmRepeat, 7);
    EXPECT_EQ(std::wstring(writes[2].Key), KeyBgmFile);
    EXPECT_EQ(writes[2].Value, L"C:\\Music\\a b.mp3");

    settings.BgmKind = -1;
    EXPECT_EQ(SettingsToWrite(L"", settings)[0].Value, L"-1");
    EXPECT_EQ(SettingsToWrite(L"", settings)[1].Value, L" 0");
}
