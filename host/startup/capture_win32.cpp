#include "host/startup/capture_win32.h"

#include <string>
#include <vector>

#include "handover/hand_over_win32.h"
#include "host/common/gdi_object_win32.h"
#include "host/startup/bmp_writer.h"
#include "host/startup/wallpaper_win32.h"

bool CopyMirrored(const MemoryCanvas& picture, HDC source, int sourceX, int sourceY) {
    const int w = picture.Width();
    const int h = picture.Height();
    SetStretchBltMode(picture.Dc(), COLORONCOLOR);
    // A negative width mirrors. GDI counts the mirrored destination from
    // x = w - 1, not w: starting at w would shift the picture one column.
    const BOOL copied = StretchBlt(picture.Dc(), w - 1, 0, -w, h, source, sourceX, sourceY, w, h, SRCCOPY);
    GdiFlush();
    return copied != FALSE;
}

namespace {

// A new file in the folder of path, made with CREATE_NEW so that nothing
// already there (a file, or a link planted at a guessable name) is opened.
HANDLE CreateFreshFileBeside(const std::wstring& path, std::wstring& freshPath) {
    const size_t slash = path.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        freshPath = folder + L"Ripplume-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(GetTickCount() + attempt) + L".tmp";
        const HANDLE file =
            CreateFileW(freshPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool ReplaceFileWith(const std::wstring& path, const std::vector<uint8_t>& bytes, FileIdentity* written) {
    std::wstring freshPath;
    const HANDLE out = CreateFreshFileBeside(path, freshPath);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD count = 0;
    bool complete =
        WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) && count == bytes.size();
    BY_HANDLE_FILE_INFORMATION info;
    if (complete && written != nullptr && GetFileInformationByHandle(out, &info)) {
        *written = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    }
    CloseHandle(out);
    // Renaming replaces whatever the name held, a link included, without
    // writing through it.
    if (complete && MoveFileExW(freshPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return true;
    }
    DeleteFileW(freshPath.c_str());
    return false;
}

bool DeleteIfSameFile(const std::wstring& path, const FileIdentity& identity) {
    const HANDLE file = OpenToDelete(path);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    const bool same = GetFileInformationByHandle(file, &info) && info.dwVolumeSerialNumber == identity.Volume &&
                      info.nFileIndexHigh == identity.IndexHigh && info.nFileIndexLow == identity.IndexLow;
    if (!same) {
        CloseHandle(file);
        return false;
    }
    return DeleteOpened(file);
}

bool SaveCaptureSurface(const MemoryCanvas& picture, const std::wstring& path, FileIdentity* written) {
    GdiFlush();
    const std::vector<uint8_t> file = EncodeBmp24(
        picture.Width(), picture.Height(), static_cast<const uint8_t*>(picture.Bits()), BmpRowStride(picture.Width()));
    return !file.empty() && ReplaceFileWith(path, file, written);
}

bool SaveMirroredScreen(const std::wstring& path, FileIdentity* written) {
    const size_t slash = path.find_last_of(L'\\');
    if (path.empty() || slash == std::wstring::npos) {
        return false;
    }
    CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    // An off-screen 24-bit picture (Pic_1), black until drawn on.
    const MemoryCanvas picture =
        MemoryCanvas::Dib24(GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    if (!picture) {
        return false;
    }
    // Even if the copy fails the black picture is saved, as the run would
    // otherwise show an earlier run's desktop.
    if (OnUsersOwnDesktop()) {
        // The screen's own device context reaches every monitor, in
        // virtual-screen coordinates.
        const WindowDc screen(nullptr);
        if (screen.Get()) {
            CopyMirrored(picture, screen.Get(), GetSystemMetrics(SM_XVIRTUALSCREEN),
                         GetSystemMetrics(SM_YVIRTUALSCREEN));
        }
    } else if (const MemoryCanvas wallpaper = MemoryCanvas::Dib24(picture.Width(), picture.Height())) {
        DrawWallpaper(wallpaper);
        CopyMirrored(picture, wallpaper.Dc());
    }
    return SaveCaptureSurface(picture, path, written);
}
