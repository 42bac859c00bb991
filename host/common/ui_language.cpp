#include "host/common/ui_language.h"

namespace {

constexpr std::uint16_t PrimaryJapanese = 0x11;  // LANG_JAPANESE

}  // namespace

UiLanguage UiLanguageFor(std::uint16_t languageId) {
    // The low ten bits are the primary language; the sublanguage (the country) does not matter.
    return (languageId & 0x3FF) == PrimaryJapanese ? UiLanguage::Japanese : UiLanguage::English;
}

std::uint16_t ResourceLanguageId(UiLanguage language) {
    return language == UiLanguage::Japanese ? 0x0411 : 0x0409;
}
