#include "host/common/decimal_text.h"

#include <limits>

namespace {

// Whole parts are kept exactly up to this and saturate above it, far beyond
// every range the callers accept, so long digit strings cannot overflow.
constexpr uint64_t WholeCap = uint64_t{1} << 40;

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

int64_t Signed(const Decimal& number, uint64_t magnitude) {
    return number.Negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
}

}  // namespace

size_t SkipBlanks(const std::wstring& text, size_t i) {
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    return i;
}

size_t ReadDecimal(const std::wstring& text, size_t i, Decimal& number) {
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

bool ReadWholeText(const std::wstring& text, Decimal& number) {
    const size_t end = ReadDecimal(text, SkipBlanks(text, 0), number);
    return end != std::wstring::npos && SkipBlanks(text, end) == text.size();
}

int64_t RoundedDown(const Decimal& number) {
    const bool awayFromZero = number.Negative && number.FractionNonZero;
    return Signed(number, number.Whole + (awayFromZero ? 1 : 0));
}

int64_t RoundedHalfEven(const Decimal& number) {
    const bool up = number.FractionVsHalf > 0 || (number.FractionVsHalf == 0 && number.Whole % 2 == 1);
    return Signed(number, number.Whole + (up ? 1 : 0));
}

bool Fits16(int64_t value) {
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

bool WholeNumber16(const std::wstring& text, int16_t& value) {
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
