// The system calls behind the ANSI text conversion. An interface, like every
// way to the system a test replaces (see README, "Stand-ins"): tests put a
// stand-in in its place that behaves as Windows does on a code page Wine
// cannot show (UTF-8 as the system code page).
#pragma once
#include <windows.h>

struct CodePageSystem {
    virtual ~CodePageSystem() = default;
    virtual UINT ActiveCodePage() = 0;
    virtual int WideToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int outBytes,
                                LPCCH defaultChar, LPBOOL usedDefault) = 0;
    virtual int MultiByteToWide(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR out, int outChars) = 0;
};

// The system's own, unless a test has put another in its place.
extern CodePageSystem* CodePage;
