#include "host/startup/command_line.h"

#include <limits>

#include "host/common/decimal_text.h"

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

}  // namespace

std::wstring ArgumentText(const std::wstring& fullCommandLine) {
    size_t at = 0;
    const size_t length = fullCommandLine.size();
    if (length > 0 && fullCommandLine[0] == L'"') {
        const size_t closing = fullCommandLine.find(L'"', 1);
        at = closing == std::wstring::npos ? length : closing + 1;
    } else {
        while (at < length && !IsBlank(fullCommandLine[at])) {
            ++at;
        }
    }
    if (at < length && IsBlank(fullCommandLine[at])) {
        ++at;
    }
    return fullCommandLine.substr(at);
}

bool TakesHostMutex(const std::wstring& modeLetter) {
    return modeLetter != L"P";
}

std::wstring ModeLetter(const std::wstring& commandLine) {
    if (commandLine.size() < 2) {
        return std::wstring();
    }
    wchar_t letter = commandLine[1];
    if (letter >= L'a' && letter <= L'z') {
        letter = static_cast<wchar_t>(letter - L'a' + L'A');
    }
    return std::wstring(1, letter);
}

HostMode HostModeOf(const std::wstring& commandLine) {
    if (commandLine.empty()) {
        return HostMode::Settings;
    }
    const std::wstring letter = ModeLetter(commandLine);
    if (letter == L"P") return HostMode::Preview;
    if (letter == L"C") return HostMode::Settings;
    if (letter == L"S") return HostMode::Run;
    return HostMode::Nothing;
}

uint32_t SettingsOwnerHandle(const std::wstring& commandLine) {
    return ModeLetter(commandLine) == L"C" ? PreviewHandle(commandLine) : 0;
}

uint32_t PreviewHandle(const std::wstring& commandLine) {
    if (commandLine.size() <= 3) {
        return 0;
    }
    const std::wstring text = commandLine.substr(3);
    Decimal number;
    if (ReadDecimal(text, SkipBlanks(text, 0), number) == std::wstring::npos) {
        return 0;
    }
    const int64_t value = RoundedHalfEven(number);
    if (value < int64_t{std::numeric_limits<int32_t>::min()} || value > int64_t{std::numeric_limits<uint32_t>::max()}) {
        return 0;
    }
    return static_cast<uint32_t>(value);  // negative values keep their 32-bit pattern
}
