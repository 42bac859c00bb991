#include "host/common/ansi_text_win32.h"

#include <windows.h>

namespace {

// The ANSI bytes of text; lost is set when a character had no ANSI form.
std::string Convert(const std::wstring& text, bool* lost) {
    *lost = false;
    if (text.empty()) {
        return std::string();
    }
    const int length = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int bytes =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        *lost = true;
        return std::string();
    }
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, &result[0], bytes, nullptr, &usedDefault);
    *lost = usedDefault != FALSE;
    return result;
}

std::wstring ShortPathOf(const std::wstring& path) {
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) {
        return std::wstring();
    }
    std::wstring shortPath(needed, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), &shortPath[0], needed);
    if (length == 0 || length >= needed) {
        return std::wstring();
    }
    shortPath.resize(length);
    return shortPath;
}

bool Representable(const std::wstring& text) {
    std::string ansi;
    return ToAnsiExact(text, ansi);
}

}  // namespace

std::string ToAnsi(const std::wstring& text) {
    bool lost = false;
    return Convert(text, &lost);
}

bool ToAnsiExact(const std::wstring& text, std::string& ansi) {
    bool lost = false;
    ansi = Convert(text, &lost);
    return !lost;
}

std::wstring FromAnsi(const std::string& text) {
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

std::wstring AnsiSafePath(const std::wstring& path) {
    if (Representable(path)) {
        return path;
    }
    const std::wstring shortPath = ShortPathOf(path);
    if (!shortPath.empty() && Representable(shortPath)) {
        return shortPath;
    }
    // A file not yet made (a settings file to be written) has no short name of
    // its own, but its folder may.
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash == 0) {
        return std::wstring();
    }
    const std::wstring leaf = path.substr(slash + 1);
    const std::wstring folder = AnsiSafePath(path.substr(0, slash));
    if (folder.empty() || !Representable(leaf)) {
        return std::wstring();
    }
    return folder + L"\\" + leaf;
}
