// The system calls behind the ANSI text conversion, replaceable so that tests
// can put a stand-in under it that behaves as Windows does on a code page
// Wine cannot show (UTF-8 as the system code page).
#pragma once
#include <windows.h>

struct CodePageCalls {
    UINT(WINAPI* ActiveCodePage)() = GetACP;
    int(WINAPI* WideToMultiByte)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL) = WideCharToMultiByte;
    int(WINAPI* MultiByteToWide)(UINT, DWORD, LPCCH, int, LPWSTR, int) = MultiByteToWideChar;
};
extern CodePageCalls CodePage;
