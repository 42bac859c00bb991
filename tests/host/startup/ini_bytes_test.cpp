#include "host/startup/ini_bytes.h"

#include <gtest/gtest.h>

namespace {

std::string ValueOf(const std::string& file, const std::string& key, const std::string& section = "Section") {
    std::string value = "(none)";
    return FindIniValue(file, section, key, value) ? value : "(none)";
}

TEST(IniBytes, FindsAKeyAsTheProfileFunctionsDo) {
    const std::string file =
        "; note\r\n[Other]\r\nkind=9\r\n  [ section ]  \r\n  Kind =  2 \r\nfile=\"C:\\a b.mp3\"\nBGM\x8B\xE6=7\r\n"
        "empty=\r\nkind=5\r\n";
    EXPECT_EQ(ValueOf(file, "kind"), "2");  // any case, blanks around, the first one
    EXPECT_EQ(ValueOf(file, "file"), "C:\\a b.mp3");
    EXPECT_EQ(ValueOf(file, "BGM\x8B\xE6"), "7");
    EXPECT_EQ(ValueOf(file, "empty"), "");
    EXPECT_EQ(ValueOf(file, "missing"), "(none)");
    EXPECT_EQ(ValueOf(file, "kind", "Other"), "9");
    EXPECT_EQ(ValueOf(file, "kind", "None"), "(none)");
    EXPECT_EQ(ValueOf("", "kind"), "(none)");
}

TEST(IniBytes, OnlyTheFirstSuchSectionCountsAndAUtf8MarkIsSkipped) {
    EXPECT_EQ(ValueOf("[Section]\na=1\n[Section]\nb=2\n", "b"), "(none)");
    EXPECT_EQ(ValueOf("\xEF\xBB\xBF[Section]\na=1", "a"), "1");
    EXPECT_EQ(ValueOf("[Section\na=1", "a"), "1");  // an unclosed name runs to the line's end
}

}  // namespace
