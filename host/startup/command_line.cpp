#include "host/startup/command_line.h"

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
