// The ANSI text conversion on a system whose code page is UTF-8 (65001),
// through the code page stand-in.
#include "host/common/ansi_text_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/host/common/code_page_stand_in.h"

namespace {

struct Utf8System : ::testing::Test {
    StandInCodePage utf8{CP_UTF8};
    CodePageInPlace inPlace{&utf8};
};

TEST_F(Utf8System, EveryNameConvertsWholeAndComesBack) {
    const std::wstring music = L"C:\\\u97F3\u697D\\\u6CE2\u306E\u97F3 caf\u00E9 \U0001F600.mp3";  // 音楽\波の音 café 😀
    const std::string utf8 =
        "C:\\\xE9\x9F\xB3\xE6\xA5\xBD\\\xE6\xB3\xA2\xE3\x81\xAE\xE9\x9F\xB3 caf\xC3\xA9 \xF0\x9F\x98\x80.mp3";
    std::string ansi;
    EXPECT_TRUE(ToAnsiExact(music, ansi));
    EXPECT_EQ(ansi, utf8);
    EXPECT_EQ(ToAnsi(music), utf8);
    EXPECT_EQ(FromAnsi(utf8), music);
    EXPECT_EQ(ToAnsi(L"BGM\u533A\u5206"), "BGM\xE5\x8C\xBA\xE5\x88\x86");  // the settings key BGM区分
    // UTF-8 holds every name: no short (8.3) name stands in for one.
    EXPECT_EQ(AnsiSafePath(music), music);
}

TEST_F(Utf8System, InvalidTextIsReportedAsLost) {
    std::string ansi;
    EXPECT_FALSE(ToAnsiExact(L"a\xD800z", ansi));  // a lone surrogate names no character
    EXPECT_EQ(ansi, "a\xEF\xBF\xBDz");
}

}  // namespace
