#include "handover/hand_over_win32.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

std::wstring KnownFolderPath(REFKNOWNFOLDERID folder, const wchar_t* below) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(folder, 0, nullptr, &path)) && path[0] != 0) result = std::wstring(path) + below;
    CoTaskMemFree(path);
    return result;
}

std::wstring HandOverFolder() {
    return KnownFolderPath(FOLDERID_LocalAppData, L"\\Ripplume");
}

std::wstring HandOverPicturePath() {
    const std::wstring folder = HandOverFolder();
    return folder.empty() ? folder : folder + L"\\Ripplume.bmp";
}
