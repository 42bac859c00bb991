#include "host/common/ui_language.h"

#include <gtest/gtest.h>

namespace {

TEST(UiLanguage, JapaneseForEveryJapaneseIdEnglishForTheRest) {
    for (const std::uint16_t japanese : {0x0411, 0x0011, 0x7C11}) {
        EXPECT_EQ(UiLanguageFor(japanese), UiLanguage::Japanese) << std::hex << japanese;
    }
    // English (US, UK), German, Chinese (simplified, traditional), Korean,
    // neutral and an id whose country bits would read 0x11 if misread.
    for (const std::uint16_t other : {0x0409, 0x0809, 0x0407, 0x0804, 0x0404, 0x0412, 0x0000, 0x4409}) {
        EXPECT_EQ(UiLanguageFor(other), UiLanguage::English) << std::hex << other;
    }
    EXPECT_EQ(ResourceLanguageId(UiLanguage::Japanese), 0x0411);
    EXPECT_EQ(ResourceLanguageId(UiLanguage::English), 0x0409);
}

}  // namespace
