// The host's texts from its string tables, in the user's language: Japanese
// for a Japanese user interface, English for every other (ui_language.h).
#pragma once
#include <windows.h>

#include <string>

#include "host/common/ui_language.h"

// The language of the user's interface (GetUserDefaultUILanguage), decided once.
UiLanguage HostLanguage();

// The string table entry id in the host's language; empty when there is none.
std::wstring LoadText(UINT id);
