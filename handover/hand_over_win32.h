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

// Opens the file at path, a link itself rather than its target, so that it
// can be deleted through the handle later whatever the name leads to by
// then. INVALID_HANDLE_VALUE when there is no such file.
HANDLE OpenToDelete(const std::wstring& path);

// Marks the file the handle opened for deletion and closes the handle; the
// file goes as its last handle closes. False when it cannot be deleted.
bool DeleteOpened(HANDLE file);

// Deletes a picture an earlier run left behind (a crash, a kill). Only for a
// moment when no run is going, since a run's renderer may still need it.
void RemoveLeftoverPicture();
