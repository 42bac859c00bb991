// Where the host hands the desktop picture over to the renderer: the user's
// own local application-data folder, %LOCALAPPDATA%\Ripplume\Ripplume.bmp.
// Other users cannot read or replace it there, as they could under C:\, and
// both programs work it out the same way, so the renderer takes no arguments.
#pragma once
#include <windows.h>

#include <shtypes.h>

#include <string>

// The system's folder of that kind with below appended to it (below starts
// with a backslash); empty when the system names no such folder.
std::wstring KnownFolderPath(REFKNOWNFOLDERID folder, const wchar_t* below);

// %LOCALAPPDATA%\Ripplume; empty when the system names no such folder.
std::wstring HandOverFolder();

// The picture's path in that folder; empty when there is no folder.
std::wstring HandOverPicturePath();
