// Decimal numbers in text, as the host reads them from its settings file, its
// command line, the repeat box and the CD drive's replies: optional blanks
// (space or tab), an optional sign, ASCII digits with an optional fractional
// part ("12", "-1.5", "+3", ".5", "7."). Exponents, hexadecimal prefixes and
// thousands separators are not numbers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct Decimal {
    bool Negative = false;
    uint64_t Whole = 0;  // saturates far beyond any range the callers accept
    bool FractionNonZero = false;
    int FractionVsHalf = -1;  // -1 below one half, 0 exactly one half, 1 above
};

// The position of the first character at or after i that is not a blank.
size_t SkipBlanks(const std::wstring& text, size_t i);

// Reads [sign] digits [. digits] at text[i]. Returns the position after the
// number, or npos when there is no digit at all.
size_t ReadDecimal(const std::wstring& text, size_t i, Decimal& number);

// The whole text must be one number, blanks around it allowed.
bool ReadWholeText(const std::wstring& text, Decimal& number);

// The number rounded down (toward minus infinity), or to the nearest whole
// number with halves to the even neighbour.
int64_t RoundedDown(const Decimal& number);
int64_t RoundedHalfEven(const Decimal& number);

bool Fits16(int64_t value);

// A number rounded to the nearest whole number (halves to even). False for
// text that is not a number or a result outside the 16-bit range.
bool WholeNumber16(const std::wstring& text, int16_t& value);
