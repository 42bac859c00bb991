#include "host/common/memory_canvas_win32.h"

#include <utility>

#include "host/common/gdi_object_win32.h"

MemoryCanvas MemoryCanvas::Compatible(HDC reference, int width, int height) {
    if (width <= 0 || height <= 0) {
        return MemoryCanvas();
    }
    if (!reference) {
        const WindowDc screen;
        return screen.Get() ? Compatible(screen.Get(), width, height) : MemoryCanvas();
    }
    return Select(reference, CreateCompatibleBitmap(reference, width, height), true, nullptr);
}

MemoryCanvas MemoryCanvas::Dib24(int width, int height) {
    if (width <= 0 || height <= 0) {
        return MemoryCanvas();
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a bitmap file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && !bits) {
        DeleteObject(bitmap);
        return MemoryCanvas();
    }
    return Select(nullptr, bitmap, true, bits);
}

MemoryCanvas MemoryCanvas::Owning(HDC reference, HBITMAP bitmap) {
    return Select(reference, bitmap, true, nullptr);
}

MemoryCanvas MemoryCanvas::Viewing(HDC reference, HBITMAP bitmap) {
    return Select(reference, bitmap, false, nullptr);
}

MemoryCanvas MemoryCanvas::Select(HDC reference, HBITMAP bitmap, bool owned, void* bits) {
    MemoryCanvas canvas;
    BITMAP info = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) {
        if (bitmap && owned) {
            DeleteObject(bitmap);
        }
        return canvas;
    }
    canvas.bitmap_ = bitmap;
    canvas.ownsBitmap_ = owned;
    canvas.dc_ = CreateCompatibleDC(reference);
    if (!canvas.dc_) {
        return canvas;  // the destructor deletes an owned bitmap
    }
    canvas.previous_ = SelectObject(canvas.dc_, bitmap);
    if (!canvas.previous_ || canvas.previous_ == HGDI_ERROR) {
        canvas.previous_ = nullptr;
        canvas.Release();
        return canvas;
    }
    canvas.bits_ = bits;
    canvas.width_ = info.bmWidth;
    canvas.height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    return canvas;
}

MemoryCanvas::MemoryCanvas(MemoryCanvas&& other) noexcept {
    *this = std::move(other);
}

MemoryCanvas& MemoryCanvas::operator=(MemoryCanvas&& other) noexcept {
    if (this != &other) {
        Release();
        dc_ = std::exchange(other.dc_, nullptr);
        bitmap_ = std::exchange(other.bitmap_, nullptr);
        previous_ = std::exchange(other.previous_, nullptr);
        ownsBitmap_ = std::exchange(other.ownsBitmap_, false);
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

MemoryCanvas::~MemoryCanvas() {
    Release();
}

void MemoryCanvas::Fill(COLORREF colour) const {
    if (!dc_) {
        return;
    }
    const RECT all = {0, 0, width_, height_};
    const GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc_, &all, brush.Get());
}

void MemoryCanvas::Release() {
    if (dc_ && previous_) {
        SelectObject(dc_, previous_);
    }
    if (dc_) {
        DeleteDC(dc_);
    }
    if (bitmap_ && ownsBitmap_) {
        DeleteObject(bitmap_);
    }
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
    ownsBitmap_ = false;
    bits_ = nullptr;
    width_ = height_ = 0;
}
