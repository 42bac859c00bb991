#include "handover/hand_over_win32.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

std::wstring HandOverFolder() {
    PWSTR localAppData = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &localAppData)) && localAppData[0] != 0)
        folder = std::wstring(localAppData) + L"\\Ripplume";
    CoTaskMemFree(localAppData);
    return folder;
}

std::wstring HandOverPicturePath() {
    const std::wstring folder = HandOverFolder();
    return folder.empty() ? folder : folder + L"\\Ripplume.bmp";
}
