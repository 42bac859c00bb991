// How text may be converted to a code page with WideCharToMultiByte. Windows
// refuses some flags and the used-default flag for some code pages (UTF-8 in
// particular, the system code page when "Use Unicode UTF-8 for worldwide
// language support" is on), and then every conversion comes back empty.
#pragma once
#include <cstdint>

// WideCharToMultiByte's flags that the rule chooses between.
namespace WideToMultiByteFlags {
constexpr std::uint32_t NoBestFit = 0x400;      // WC_NO_BEST_FIT_CHARS
constexpr std::uint32_t ErrorOnInvalid = 0x80;  // WC_ERR_INVALID_CHARS
}  // namespace WideToMultiByteFlags

struct CodePageRule {
    std::uint32_t Flags;   // for WideCharToMultiByte
    bool AsksUsedDefault;  // a used-default flag may be passed to learn of lost characters
    bool Lossless;         // every valid text has a form: a failed conversion means invalid text
};

// Code pages with a byte form for every character (UTF-8, GB18030) are asked
// to fail on invalid text; the ones that take no flags get none; every other
// one is asked not to swap a character for a look-alike and to tell when a
// character had no form.
CodePageRule CodePageRuleFor(unsigned codePage);
