#include "host/startup/capture_win32.h"

#include <string>
#include <vector>

#include "host/startup/bmp_writer.h"

bool CreateCaptureSurface(int width, int height, CaptureSurface& surface)
{
    surface = CaptureSurface{};
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as the file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    surface.dc = CreateCompatibleDC(nullptr);
    if (surface.dc == nullptr) {
        return false;
    }
    surface.bitmap = CreateDIBSection(surface.dc, &info, DIB_RGB_COLORS, &surface.bits, nullptr, 0);
    if (surface.bitmap == nullptr || surface.bits == nullptr) {
        ReleaseCaptureSurface(surface);
        return false;
    }
    surface.previousBitmap = SelectObject(surface.dc, surface.bitmap);
    surface.width = width;
    surface.height = height;
    return true;
}

void ReleaseCaptureSurface(CaptureSurface& surface)
{
    if (surface.dc != nullptr && surface.previousBitmap != nullptr) {
        SelectObject(surface.dc, surface.previousBitmap);
    }
    if (surface.bitmap != nullptr) {
        DeleteObject(surface.bitmap);
    }
    if (surface.dc != nullptr) {
        DeleteDC(surface.dc);
    }
    surface = CaptureSurface{};
}

bool CopyScreenMirrored(CaptureSurface& surface)
{
    const HWND desktop = GetDesktopWindow();
    const HDC screen = GetDC(desktop);
    if (screen == nullptr) {
        return false;
    }
    const int w = surface.width;
    const int h = surface.height;
    SetStretchBltMode(surface.dc, COLORONCOLOR);
    // A negative width mirrors. GDI counts the mirrored destination from
    // x = w - 1, not w: starting at w would shift the picture one column.
    const BOOL copied = StretchBlt(surface.dc, w - 1, 0, -w, h, screen, 0, 0, w, h, SRCCOPY);
    GdiFlush();
    ReleaseDC(desktop, screen);
    return copied != FALSE;
}

namespace {

// A new file in the folder of path, made with CREATE_NEW so that nothing
// already there (a file, or a link planted at a guessable name) is opened.
HANDLE CreateFreshFileBeside(const std::wstring& path, std::wstring& freshPath)
{
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

bool ReplaceFileWith(const std::wstring& path, const std::vector<uint8_t>& bytes, FileIdentity* written)
{
    std::wstring freshPath;
    const HANDLE out = CreateFreshFileBeside(path, freshPath);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD count = 0;
    bool complete = WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
                    count == bytes.size();
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

bool IsFile(const std::wstring& path, const FileIdentity& identity)
{
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info;
    const bool same = GetFileInformationByHandle(file, &info) && info.dwVolumeSerialNumber == identity.Volume &&
                      info.nFileIndexHigh == identity.IndexHigh && info.nFileIndexLow == identity.IndexLow;
    CloseHandle(file);
    return same;
}

bool SaveCaptureSurface(const CaptureSurface& surface, const wchar_t* path, FileIdentity* written)
{
    GdiFlush();
    const std::vector<uint8_t> file = EncodeBmp24(surface.width, surface.height,
                                                  static_cast<const uint8_t*>(surface.bits),
                                                  BmpRowStride(surface.width));
    return !file.empty() && ReplaceFileWith(path, file, written);
}

bool SaveMirroredScreen(const wchar_t* path, FileIdentity* written)
{
    CaptureSurface surface;
    if (!CreateCaptureSurface(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), surface)) {
        return false;
    }
    // Even if the copy fails the black picture is saved, as the run would
    // otherwise show an earlier run's desktop.
    CopyScreenMirrored(surface);
    const bool saved = SaveCaptureSurface(surface, path, written);
    ReleaseCaptureSurface(surface);
    return saved;
}
