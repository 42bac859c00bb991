// The argument text of the host's command line, as a screen saver gets it.
#pragma once
#include <cstdint>
#include <string>

// The full command line (GetCommandLineW) without the program's own name:
// a quoted name is skipped up to its closing quote, an unquoted one up to the
// first blank or tab; then one separating blank or tab is dropped. The rest
// is kept exactly, so "prog  /s" gives " /s".
std::wstring ArgumentText(const std::wstring& fullCommandLine);

// The named mutex that lets one host at a time run the saver or the dialog.
inline constexpr wchar_t HostMutexName[] = L"Ripplume_Host";

// Every mode but the preview takes the mutex; a preview runs beside the others.
bool TakesHostMutex(const std::wstring& modeLetter);

// The mode letter: the command line's second character upper-cased, or empty
// when the line is shorter. Only ASCII letters change case; the letters that
// select a mode are all ASCII.
std::wstring ModeLetter(const std::wstring& commandLine);

// What a command line asks of the host. An empty line opens the settings, as
// Windows' "Configure" on a .scr starts it with none; letters other than
// P, C and S ask for nothing.
enum class HostMode { Preview, Settings, Run, Nothing };
HostMode HostModeOf(const std::wstring& commandLine);

// The window that asked for the settings ("/c:HWND"), read as the preview
// handle is; 0 when the request names none.
uint32_t SettingsOwnerHandle(const std::wstring& commandLine);

// The preview handle: the number that starts at the command line's fourth
// character, read leniently (leading blanks skipped, reading stops where the
// number ends; no number gives 0) and rounded to a whole number, halves to
// even. Both signed and unsigned decimal forms of a 32-bit handle are taken
// (-2147483648..4294967295); a number beyond that names no window and gives 0.
uint32_t PreviewHandle(const std::wstring& commandLine);
