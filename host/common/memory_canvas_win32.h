// A memory canvas: a device context compatible with a reference one, with a
// bitmap selected into it, for drawing off screen and for copying pictures.
// It owns what it made; its end selects the context's first bitmap back and
// deletes the bitmap and the context. The failure checks live here, once.
#pragma once
#include <windows.h>

class MemoryCanvas {
public:
    MemoryCanvas() = default;

    // A new bitmap of width x height, compatible with reference (the screen when null).
    static MemoryCanvas Compatible(HDC reference, int width, int height);
    // A new 24-bit bottom-up DIB section, whose rows (padded to 4 bytes) Bits() reaches.
    static MemoryCanvas Dib24(int width, int height);
    // Takes over bitmap (deleted with the canvas; also when the canvas cannot be made).
    static MemoryCanvas Owning(HDC reference, HBITMAP bitmap);
    // Shows bitmap, which stays the caller's: for copying from a shared picture.
    static MemoryCanvas Viewing(HDC reference, HBITMAP bitmap);

    MemoryCanvas(MemoryCanvas&& other) noexcept;
    MemoryCanvas& operator=(MemoryCanvas&& other) noexcept;
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    ~MemoryCanvas();

    // False for a canvas that could not be made (or was moved from).
    explicit operator bool() const { return dc_ != nullptr; }
    HDC Dc() const { return dc_; }
    void* Bits() const { return bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Fills the whole canvas with one colour.
    void Fill(COLORREF colour) const;

private:
    static MemoryCanvas Select(HDC reference, HBITMAP bitmap, bool owned, void* bits);
    void Release();

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    bool ownsBitmap_ = false;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
