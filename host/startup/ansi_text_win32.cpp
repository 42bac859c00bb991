#include "host/startup/ansi_text_win32.h"

#include <windows.h>

std::string ToAnsi(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int length = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return std::string();
    }
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &result[0], bytes, nullptr, nullptr);
    return result;
}

std::wstring FromAnsi(const std::string& text)
{
    if (text.empty()) {
        return std::wstring();
    }
    const int length = static_cast<int>(text.size());
    const int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (chars <= 0) {
        return std::wstring();
    }
    std::wstring result(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &result[0], chars);
    return result;
}
