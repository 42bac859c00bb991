// A picture drawn small, scaled up to the screen with bilinear filtering on
// the CPU: cheaper, where OpenGL is software, than letting it texture a
// full-screen quad. Pixels are 4 bytes, each byte filtered alone, so any
// channel order works. A row stride may be negative: rows bottom-up, as
// glReadPixels gives them, become top-down, as a screen image wants them.
#pragma once
#include <cstddef>
#include <cstdint>

struct PixelRows {
    uint8_t* First;     // the first row's first pixel
    ptrdiff_t Stride;   // bytes from a row to the next
    int Width, Height;  // at least 1 each
};

// Pixel centres map onto pixel centres; the edges repeat the edge pixels.
// Weights have 7 bits. The SSE2 build's result is the plain one's, byte for byte.
// UpscaleBilinear shares a tall picture's rows between two threads;
// UpscaleBilinearPlain keeps to the calling thread.
void UpscaleBilinear(const PixelRows& source, const PixelRows& target);
void UpscaleBilinearPlain(const PixelRows& source, const PixelRows& target);
