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

HANDLE OpenToDelete(const std::wstring& path) {
    return CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool DeleteOpened(HANDLE file) {
    if (file == INVALID_HANDLE_VALUE) return false;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    const bool marked =
        SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
    CloseHandle(file);  // the file goes as its last handle closes
    return marked;
}

void RemoveLeftoverPicture() {
    const std::wstring path = HandOverPicturePath();
    if (!path.empty()) DeleteOpened(OpenToDelete(path));
}
