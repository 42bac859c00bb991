// A system whose ANSI code page is another than Wine's: Wine's follows the
// locale only and accepts any flags for UTF-8, so tests put this in its place
// (see README, "Stand-ins"). UTF-8 keeps Windows' rules: only
// WC_ERR_INVALID_CHARS (or no flag) and no used-default flag when converting to it.
#pragma once
#include <windows.h>

#include "host/common/code_page_calls_win32.h"

struct StandInCodePage : CodePageSystem {
    explicit StandInCodePage(UINT active) : Active(active) {}
    UINT Active;

    UINT ActiveCodePage() override { return Active; }
    int WideToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int outBytes, LPCCH defaultChar,
                        LPBOOL usedDefault) override {
        const UINT page = codePage == CP_ACP ? Active : codePage;
        if (page == CP_UTF8) {
            if ((flags & ~DWORD(WC_ERR_INVALID_CHARS)) != 0) return SetLastError(ERROR_INVALID_FLAGS), 0;
            if (defaultChar != nullptr || usedDefault != nullptr) return SetLastError(ERROR_INVALID_PARAMETER), 0;
        }
        return WideCharToMultiByte(page, flags, text, length, out, outBytes, defaultChar, usedDefault);
    }
    int MultiByteToWide(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR out, int outChars) override {
        const UINT page = codePage == CP_ACP ? Active : codePage;
        if (page == CP_UTF8 && (flags & ~DWORD(MB_ERR_INVALID_CHARS)) != 0) return SetLastError(ERROR_INVALID_FLAGS), 0;
        return MultiByteToWideChar(page, flags, text, length, out, outChars);
    }
};

// Puts a stand-in in the system's place for as long as it lives.
struct CodePageInPlace {
    explicit CodePageInPlace(CodePageSystem* standIn) : Saved(CodePage) { CodePage = standIn; }
    ~CodePageInPlace() { CodePage = Saved; }
    CodePageInPlace(const CodePageInPlace&) = delete;
    CodePageInPlace& operator=(const CodePageInPlace&) = delete;
    CodePageSystem* Saved;
};
