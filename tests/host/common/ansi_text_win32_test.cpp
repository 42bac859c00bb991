// The ANSI text conversion on a system whose code page is UTF-8 (65001).
// Wine accepts any flags for UTF-8 and keeps its own code page, so a stand-in
// takes the system's place here and refuses what Windows documents it refuses.
#include "host/common/ansi_text_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "host/common/code_page_calls_win32.h"

namespace {

// Code page 65001 with Windows' rules: only WC_ERR_INVALID_CHARS (or no flag)
// and no used-default flag when converting to it.
struct StrictUtf8System : CodePageSystem {
    UINT ActiveCodePage() override { return CP_UTF8; }
    int WideToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int outBytes, LPCCH defaultChar,
                        LPBOOL usedDefault) override {
        if (codePage != CP_UTF8 && codePage != CP_ACP) return SetLastError(ERROR_INVALID_PARAMETER), 0;
        if ((flags & ~DWORD(WC_ERR_INVALID_CHARS)) != 0) return SetLastError(ERROR_INVALID_FLAGS), 0;
        if (defaultChar != nullptr || usedDefault != nullptr) return SetLastError(ERROR_INVALID_PARAMETER), 0;
        return WideCharToMultiByte(CP_UTF8, flags, text, length, out, outBytes, nullptr, nullptr);
    }
    int MultiByteToWide(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR out, int outChars) override {
        if (codePage != CP_UTF8 && codePage != CP_ACP) return SetLastError(ERROR_INVALID_PARAMETER), 0;
        if ((flags & ~DWORD(MB_ERR_INVALID_CHARS)) != 0) return SetLastError(ERROR_INVALID_FLAGS), 0;
        return MultiByteToWideChar(CP_UTF8, flags, text, length, out, outChars);
    }
};

struct Utf8System : ::testing::Test {
    StrictUtf8System utf8;
    CodePageSystem* saved = CodePage;
    void SetUp() override { CodePage = &utf8; }
    void TearDown() override { CodePage = saved; }
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
