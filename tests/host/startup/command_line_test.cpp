#include "host/startup/command_line.h"

#include <gtest/gtest.h>

#include "host/startup/settings_values.h"

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

}  // namespace

TEST(HostMutex, EveryModeButThePreviewTakesIt) {
    EXPECT_FALSE(TakesHostMutex(L"P"));
    for (const wchar_t* mode : {L"S", L"C", L"", L"A", L"/"}) {
        EXPECT_TRUE(TakesHostMutex(mode)) << mode;
    }
}
