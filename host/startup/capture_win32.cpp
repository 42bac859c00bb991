#include "host/startup/capture_win32.h"

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

bool SaveCaptureSurface(const CaptureSurface& surface, const wchar_t* path)
{
    GdiFlush();
    const std::vector<uint8_t> file = EncodeBmp24(surface.width, surface.height,
                                                  static_cast<const uint8_t*>(surface.bits),
                                                  BmpRowStride(surface.width));
    if (file.empty()) {
        return false;
    }
    const HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(out);
    if (!ok || written != file.size()) {
        DeleteFileW(path);  // a cut-off picture must not reach the renderer
        return false;
    }
    return true;
}

bool SaveMirroredScreen(const wchar_t* path)
{
    CaptureSurface surface;
    if (!CreateCaptureSurface(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), surface)) {
        return false;
    }
    // Even if the copy fails the black picture is saved, as the run would
    // otherwise show an earlier run's desktop.
    CopyScreenMirrored(surface);
    const bool saved = SaveCaptureSurface(surface, path);
    ReleaseCaptureSurface(surface);
    return saved;
}
