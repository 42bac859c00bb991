// The argument text of the host's command line, as a screen saver gets it.
#pragma once
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
