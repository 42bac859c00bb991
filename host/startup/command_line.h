// The argument text of the host's command line, as a screen saver gets it.
#pragma once
#include <string>

// The full command line (GetCommandLineW) without the program's own name:
// a quoted name is skipped up to its closing quote, an unquoted one up to the
// first blank or tab; then one separating blank or tab is dropped. The rest
// is kept exactly, so "prog  /s" gives " /s".
std::wstring ArgumentText(const std::wstring& fullCommandLine);
