#include "host/startup/settings_values.h"

#include <limits>

namespace {

// Whole parts are kept exactly up to this and saturate above it, far beyond
// every range the callers accept, so long digit strings cannot overflow.
constexpr uint64_t WholeCap = uint64_t{1} << 40;

struct Decimal {
    bool Negative = false;
    uint64_t Whole = 0;
    bool FractionNonZero = false;
    int FractionVsHalf = -1;  // -1 below one half, 0 exactly one half, 1 above
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

size_t SkipBlanks(const std::wstring& text, size_t i)
{
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    return i;
}

// Reads [sign] digits [. digits] at text[i]. Returns the position after the
// number, or npos when there is no digit at all.
size_t ReadDecimal(const std::wstring& text, size_t i, Decimal& number)
{
    const size_t n = text.size();
    number = Decimal{};
    if (i < n && (text[i] == L'+' || text[i] == L'-')) {
        number.Negative = text[i] == L'-';
        ++i;
    }
    bool anyDigit = false;
    for (; i < n && IsDigit(text[i]); ++i) {
        anyDigit = true;
        if (number.Whole < WholeCap) {
            number.Whole = number.Whole * 10 + static_cast<uint64_t>(text[i] - L'0');
        }
        if (number.Whole > WholeCap) {
            number.Whole = WholeCap;
        }
    }
    if (i < n && text[i] == L'.') {
        ++i;
        bool first = true;
        for (; i < n && IsDigit(text[i]); ++i) {
            anyDigit = true;
            const int digit = text[i] - L'0';
            if (digit != 0) {
                number.FractionNonZero = true;
            }
            if (first) {
                number.FractionVsHalf = digit > 5 ? 1 : digit == 5 ? 0 : -1;
                first = false;
            } else if (digit != 0 && number.FractionVsHalf == 0) {
                number.FractionVsHalf = 1;
            }
        }
    }
    return anyDigit ? i : std::wstring::npos;
}

// The whole text must be one number, blanks around it allowed.
bool ReadWholeText(const std::wstring& text, Decimal& number)
{
    const size_t end = ReadDecimal(text, SkipBlanks(text, 0), number);
    return end != std::wstring::npos && SkipBlanks(text, end) == text.size();
}

int64_t Signed(const Decimal& number, uint64_t magnitude)
{
    return number.Negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
}

int64_t RoundedDown(const Decimal& number)
{
    const bool awayFromZero = number.Negative && number.FractionNonZero;
    return Signed(number, number.Whole + (awayFromZero ? 1 : 0));
}

int64_t RoundedHalfEven(const Decimal& number)
{
    const bool up = number.FractionVsHalf > 0 || (number.FractionVsHalf == 0 && number.Whole % 2 == 1);
    return Signed(number, number.Whole + (up ? 1 : 0));
}

bool Fits16(int64_t value)
{
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

}  // namespace

int16_t SettingFromText(const std::wstring& text, int16_t earlier)
{
    if (text.empty()) {
        return 0;
    }
    Decimal number;
    if (!ReadWholeText(text, number)) {
        return earlier;
    }
    const int64_t value = RoundedDown(number);
    return Fits16(value) ? static_cast<int16_t>(value) : earlier;
}

std::wstring SettingText(int16_t value)
{
    return value < 0 ? std::to_wstring(value) : L" " + std::to_wstring(value);
}

bool WholeNumber16(const std::wstring& text, int16_t& value)
{
    Decimal number;
    if (!ReadWholeText(text, number)) {
        return false;
    }
    const int64_t rounded = RoundedHalfEven(number);
    if (!Fits16(rounded)) {
        return false;
    }
    value = static_cast<int16_t>(rounded);
    return true;
}

std::wstring FoldFullWidth(const std::wstring& text)
{
    constexpr wchar_t FullWidthFirst = 0xFF01;  // full-width forms of ASCII 0x21..0x7E
    constexpr wchar_t FullWidthLast = 0xFF5E;
    constexpr wchar_t IdeographicSpace = 0x3000;
    std::wstring folded = text;
    for (wchar_t& c : folded) {
        if (c >= FullWidthFirst && c <= FullWidthLast) {
            c = static_cast<wchar_t>(c - FullWidthFirst + L'!');
        } else if (c == IdeographicSpace) {
            c = L' ';
        }
    }
    return folded;
}

int16_t RepeatFromText(const std::wstring& text)
{
    // Typed with the IME on, digits come full width ("１２"); they are digits all the same.
    int16_t value = 0;
    return WholeNumber16(FoldFullWidth(text), value) ? value : 0;
}

std::wstring FormatHashHash(int value)
{
    return value == 0 ? std::wstring() : std::to_wstring(value);
}

std::wstring DirectoryOf(const std::wstring& path)
{
    size_t length = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == L':' || path[i] == L'\\') {
            length = i + 1;
        }
    }
    std::wstring folder = path.substr(0, length);
    if (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

std::wstring ModeLetter(const std::wstring& commandLine)
{
    if (commandLine.size() < 2) {
        return std::wstring();
    }
    wchar_t letter = commandLine[1];
    if (letter >= L'a' && letter <= L'z') {
        letter = static_cast<wchar_t>(letter - L'a' + L'A');
    }
    return std::wstring(1, letter);
}

uint32_t PreviewHandle(const std::wstring& commandLine)
{
    if (commandLine.size() <= 3) {
        return 0;
    }
    const std::wstring text = commandLine.substr(3);
    Decimal number;
    if (ReadDecimal(text, SkipBlanks(text, 0), number) == std::wstring::npos) {
        return 0;
    }
    const int64_t value = RoundedHalfEven(number);
    if (value < int64_t{std::numeric_limits<int32_t>::min()} ||
        value > int64_t{std::numeric_limits<uint32_t>::max()}) {
        return 0;
    }
    return static_cast<uint32_t>(value);  // negative values keep their 32-bit pattern
}
