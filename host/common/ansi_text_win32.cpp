#include "host/common/ansi_text_win32.h"

#include <windows.h>

#include "host/common/code_page_calls_win32.h"
#include "host/common/code_page_rule.h"

namespace {

struct SystemCodePage : CodePageSystem {
    UINT ActiveCodePage() override { return GetACP(); }
    int WideToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int outBytes, LPCCH defaultChar,
                        LPBOOL usedDefault) override {
        return WideCharToMultiByte(codePage, flags, text, length, out, outBytes, defaultChar, usedDefault);
    }
    int MultiByteToWide(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR out, int outChars) override {
        return MultiByteToWideChar(codePage, flags, text, length, out, outChars);
    }
} SystemCodePageCalls;

}  // namespace

CodePageSystem* CodePage = &SystemCodePageCalls;

namespace {

static_assert(WideToMultiByteFlags::NoBestFit == WC_NO_BEST_FIT_CHARS &&
                  WideToMultiByteFlags::ErrorOnInvalid == WC_ERR_INVALID_CHARS,
              "the code page rule uses the system's values");

int ConvertWith(UINT codePage, DWORD flags, const std::wstring& text, char* out, int outBytes, BOOL* usedDefault) {
    return CodePage->WideToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out, outBytes,
                                     nullptr, usedDefault);
}

// The bytes of text in codePage, converted as the code page allows (see
// CodePageRuleFor); lost is set when a character had no form there.
std::string Convert(UINT codePage, const std::wstring& text, bool* lost) {
    *lost = false;
    if (text.empty()) {
        return std::string();
    }
    const CodePageRule rule = CodePageRuleFor(codePage);
    DWORD flags = rule.Flags;
    int bytes = ConvertWith(codePage, flags, text, nullptr, 0, nullptr);
    if (bytes <= 0 && rule.Lossless) {
        // Only invalid text (a lone surrogate) fails there; without the flag
        // it is replaced by U+FFFD, which is no look-alike of anything.
        *lost = true;
        flags = 0;
        bytes = ConvertWith(codePage, flags, text, nullptr, 0, nullptr);
    }
    if (bytes <= 0) {
        *lost = true;
        return std::string();
    }
    std::string result(static_cast<size_t>(bytes), '\0');
    BOOL usedDefault = FALSE;
    if (ConvertWith(codePage, flags, text, &result[0], bytes, rule.AsksUsedDefault ? &usedDefault : nullptr) != bytes) {
        *lost = true;
        return std::string();
    }
    *lost = *lost || usedDefault != FALSE;
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
    return ToCodePage(CodePage->ActiveCodePage(), text);
}

bool ToAnsiExact(const std::wstring& text, std::string& ansi) {
    bool lost = false;
    ansi = Convert(CodePage->ActiveCodePage(), text, &lost);
    return !lost;
}

std::string ToCodePage(unsigned codePage, const std::wstring& text) {
    bool lost = false;
    return Convert(codePage, text, &lost);
}

bool FromCodePageExact(unsigned codePage, const std::string& bytes, std::wstring& text) {
    text.clear();
    if (bytes.empty()) {
        return true;
    }
    const int length = static_cast<int>(bytes.size());
    const int chars = CodePage->MultiByteToWide(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (chars <= 0) {
        return false;
    }
    text.resize(static_cast<size_t>(chars));
    if (CodePage->MultiByteToWide(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, &text[0], chars) != chars) {
        text.clear();
        return false;
    }
    return true;
}

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) {
        return std::wstring();
    }
    const int length = static_cast<int>(text.size());
    const UINT codePage = CodePage->ActiveCodePage();
    const int chars = CodePage->MultiByteToWide(codePage, 0, text.data(), length, nullptr, 0);
    if (chars <= 0) {
        return std::wstring();
    }
    std::wstring result(static_cast<size_t>(chars), L'\0');
    CodePage->MultiByteToWide(codePage, 0, text.data(), length, &result[0], chars);
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
