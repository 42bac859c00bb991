// The desktop capture of a saver run: the primary screen, mirrored left to
// right, saved as the hand-over bitmap file the renderer reads.
#pragma once
#include <windows.h>

constexpr const wchar_t* CaptureFilePath = L"C:\\q_lorn\\Ripplume.bmp";

// An off-screen 24-bit picture (Pic_1): black until drawn on.
struct CaptureSurface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    void* bits = nullptr;  // bottom-up rows, padded to 4 bytes
    int width = 0;
    int height = 0;
};

bool CreateCaptureSurface(int width, int height, CaptureSurface& surface);
void ReleaseCaptureSurface(CaptureSurface& surface);

// Copies the whole screen into the surface, mirrored: the screen's leftmost
// column becomes the picture's rightmost; rows keep their order.
bool CopyScreenMirrored(CaptureSurface& surface);

// Writes the surface as a 24-bit bitmap file, replacing an existing one.
bool SaveCaptureSurface(const CaptureSurface& surface, const wchar_t* path);

// All of the above for the primary screen; false when any step failed.
bool SaveMirroredScreen(const wchar_t* path);
