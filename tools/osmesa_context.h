// An off-screen OpenGL context with a 16-bit depth buffer, as the renderer's window has.
#pragma once
#include <GL/osmesa.h>

#include <vector>

class OffscreenContext {
public:
    OffscreenContext();
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    // Makes the context current on a width x height RGBA buffer; false on failure.
    bool Bind(int width, int height);

    // RGBA bytes of the pixel (x, y), y counted from the bottom row.
    const unsigned char* Pixel(int x, int y) const { return &pixels_[(y * width_ + x) * 4]; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    OSMesaContext context_ = nullptr;
    std::vector<unsigned char> pixels_;
    int width_ = 0;
    int height_ = 0;
};
