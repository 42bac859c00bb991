#include "host/startup/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(ArgumentText, SkipsTheProgramNameAndOneSeparator) {
    EXPECT_EQ(ArgumentText(L"\"C:\\Program Files\\Ripplume.scr\" /s"), L"/s");
    EXPECT_EQ(ArgumentText(L"C:\\WINDOWS\\RIPPLU~1.SCR /p 1234"), L"/p 1234");
    EXPECT_EQ(ArgumentText(L"Ripplume.scr\t/c:4660"), L"/c:4660");
    EXPECT_EQ(ArgumentText(L"\"a b.scr\"/s"), L"/s");  // nothing between name and argument
}

TEST(ArgumentText, KeepsTheRestExactly) {
    EXPECT_EQ(ArgumentText(L"Ripplume.scr  /s"), L" /s");
    EXPECT_EQ(ArgumentText(L"\"Ripplume.scr\"  /s "), L" /s ");
    EXPECT_EQ(ArgumentText(L"x /p \"quoted\"  text"), L"/p \"quoted\"  text");
}

TEST(ArgumentText, NoArgumentsGiveEmptyText) {
    EXPECT_EQ(ArgumentText(L""), L"");
    EXPECT_EQ(ArgumentText(L"Ripplume.scr"), L"");
    EXPECT_EQ(ArgumentText(L"Ripplume.scr "), L"");
    EXPECT_EQ(ArgumentText(L"\"C:\\x y\\Ripplume.scr\""), L"");
    EXPECT_EQ(ArgumentText(L"\"unterminated /s"), L"");
}

// The argument text is what the mode letter and the preview handle are read from.
TEST(ArgumentText, GivesTheModeAsWindowsMeantIt) {
    EXPECT_EQ(ModeLetter(ArgumentText(L"\"C:\\a b\\Ripplume.scr\" /s")), L"S");
    EXPECT_EQ(ModeLetter(ArgumentText(L"\"C:\\a b\\Ripplume.scr\"  /s")), L"/");
    EXPECT_EQ(ModeLetter(ArgumentText(L"C:\\Ripplume.scr -c:4660")), L"C");
    EXPECT_EQ(PreviewHandle(ArgumentText(L"\"C:\\a b\\Ripplume.scr\" /p 4660")), 4660u);
    EXPECT_EQ(PreviewHandle(ArgumentText(L"C:\\Ripplume.scr /p:4660")), 4660u);
}

TEST(CommandLine, ModeLetterIsTheSecondCharacterUpperCased) {
    EXPECT_EQ(ModeLetter(L"/s"), L"S");
    EXPECT_EQ(ModeLetter(L"/S"), L"S");
    EXPECT_EQ(ModeLetter(L"-s"), L"S");
    EXPECT_EQ(ModeLetter(L" /s"), L"/");
    EXPECT_EQ(ModeLetter(L"/p 4660"), L"P");
    EXPECT_EQ(ModeLetter(L"/c:4660"), L"C");
    EXPECT_EQ(ModeLetter(L"/a"), L"A");
    EXPECT_EQ(ModeLetter(L"/1"), L"1");
    EXPECT_EQ(ModeLetter(L"/"), L"");
    EXPECT_EQ(ModeLetter(L""), L"");
}

TEST(CommandLine, PreviewHandleStartsAtTheFourthCharacter) {
    EXPECT_EQ(PreviewHandle(L"/p 4660"), 4660u);
    EXPECT_EQ(PreviewHandle(L"/p:4660"), 4660u);
    EXPECT_EQ(PreviewHandle(L"/P 4660"), 4660u);
    EXPECT_EQ(PreviewHandle(L"/p4660"), 660u);
    EXPECT_EQ(PreviewHandle(L"/p    4660"), 4660u);
    EXPECT_EQ(PreviewHandle(L"/p \t42"), 42u);
    EXPECT_EQ(PreviewHandle(L"/p 4660 extra"), 4660u);
    EXPECT_EQ(PreviewHandle(L"/p 4660xyz"), 4660u);
    EXPECT_EQ(PreviewHandle(L"/p +7"), 7u);
    EXPECT_EQ(PreviewHandle(L"/p 12.5"), 12u);
    EXPECT_EQ(PreviewHandle(L"/p 13.5"), 14u);
    EXPECT_EQ(PreviewHandle(L"/p 1.2.3"), 1u);
}

TEST(CommandLine, PreviewHandleWithoutANumberIsZero) {
    for (const wchar_t* line : {L"/p", L"/p ", L"/p:", L"/p xyz", L"/p -", L"/p .", L"/p .4", L"", L"/"}) {
        EXPECT_EQ(PreviewHandle(line), 0u) << "line: " << std::string(line, line + std::wcslen(line));
    }
}

TEST(CommandLine, PreviewHandleKeeps32BitsAndRefusesMore) {
    EXPECT_EQ(PreviewHandle(L"/p -5"), 0xFFFFFFFBu);
    EXPECT_EQ(PreviewHandle(L"/p -2147483648"), 0x80000000u);
    EXPECT_EQ(PreviewHandle(L"/p 4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(PreviewHandle(L"/p -2147483649"), 0u);
    EXPECT_EQ(PreviewHandle(L"/p 4294967296"), 0u);
    EXPECT_EQ(PreviewHandle(L"/p 99999999999999999999999999"), 0u);
    EXPECT_EQ(PreviewHandle(L"/p " + std::wstring(3000, L'7')), 0u);
}

TEST(CommandLine, HostModeFollowsTheLetterAndAnEmptyLineOpensTheSettings) {
    EXPECT_EQ(HostModeOf(L""), HostMode::Settings);
    EXPECT_EQ(HostModeOf(L"/c"), HostMode::Settings);
    EXPECT_EQ(HostModeOf(L"/C:4660"), HostMode::Settings);
    EXPECT_EQ(HostModeOf(L"/s"), HostMode::Run);
    EXPECT_EQ(HostModeOf(L"-S"), HostMode::Run);
    EXPECT_EQ(HostModeOf(L"/p 4660"), HostMode::Preview);
    for (const wchar_t* line : {L"/a", L"x", L" /s", L"/"}) {
        EXPECT_EQ(HostModeOf(line), HostMode::Nothing) << std::string(line, line + std::wcslen(line));
    }
}

TEST(CommandLine, SettingsOwnerIsTheHandleOfASettingsRequestOnly) {
    EXPECT_EQ(SettingsOwnerHandle(L"/c:4660"), 4660u);
    EXPECT_EQ(SettingsOwnerHandle(L"/c"), 0u);
    EXPECT_EQ(SettingsOwnerHandle(L""), 0u);
    EXPECT_EQ(SettingsOwnerHandle(L"/p 4660"), 0u);
    EXPECT_EQ(SettingsOwnerHandle(L"/s:4660"), 0u);
}

}  // namespace

TEST(HostMutex, EveryModeButThePreviewTakesIt) {
    EXPECT_FALSE(TakesHostMutex(L"P"));
    for (const wchar_t* mode : {L"S", L"C", L"", L"A", L"/"}) {
        EXPECT_TRUE(TakesHostMutex(mode)) << mode;
    }
}
