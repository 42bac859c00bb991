// The language the host speaks: Japanese for a Japanese user interface,
// English for every other, as the user's UI language (a Windows language id)
// says. The settings file's section and keys are the same in both.
#pragma once
#include <cstdint>

enum class UiLanguage { Japanese, English };

UiLanguage UiLanguageFor(std::uint16_t languageId);

// The language id of the host's texts in that language, as its resources
// are marked: Japanese (Japan) or English (United States).
std::uint16_t ResourceLanguageId(UiLanguage language);
