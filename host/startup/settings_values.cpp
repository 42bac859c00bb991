#include "host/startup/settings_values.h"

#include <limits>

#include "host/common/decimal_text.h"

int16_t SettingFromText(const std::wstring& text, int16_t earlier) {
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

std::wstring SettingText(int16_t value) {
    return value < 0 ? std::to_wstring(value) : L" " + std::to_wstring(value);
}

std::wstring FoldFullWidth(const std::wstring& text) {
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

int16_t RepeatFromText(const std::wstring& text) {
    // Typed with the IME on, digits come full width ("１２"); they are digits all the same.
    int16_t value = 0;
    return WholeNumber16(FoldFullWidth(text), value) ? value : 0;
}

std::wstring FormatHashHash(int value) {
    return value == 0 ? std::wstring() : std::to_wstring(value);
}

std::wstring DirectoryOf(const std::wstring& path) {
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
