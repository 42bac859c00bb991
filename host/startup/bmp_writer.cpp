#include "host/startup/bmp_writer.h"

#include <cstring>

namespace {

constexpr uint64_t MaxBmpFileSize = 0x7fffffffu;

void Put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// Headers of a 24-bit bottom-up file; false when the sizes are unusable.
bool StartFile(int32_t width, int32_t height, std::vector<uint8_t>& file) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    const uint64_t stride = (static_cast<uint64_t>(width) * 3 + 3) / 4 * 4;
    const uint64_t imageSize = stride * static_cast<uint64_t>(height);
    const uint64_t fileSize = BmpFileHeaderSize + BmpInfoHeaderSize + imageSize;
    if (fileSize > MaxBmpFileSize) {
        return false;
    }
    file.assign(static_cast<size_t>(fileSize), 0);
    uint8_t* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, static_cast<uint32_t>(fileSize));
    Put32(h + 10, BmpFileHeaderSize + BmpInfoHeaderSize);
    uint8_t* info = h + BmpFileHeaderSize;
    Put32(info + 0, BmpInfoHeaderSize);
    Put32(info + 4, static_cast<uint32_t>(width));
    Put32(info + 8, static_cast<uint32_t>(height));  // positive: bottom row first
    Put16(info + 12, 1);                             // planes
    Put16(info + 14, 24);                            // bits per pixel
    Put32(info + 16, 0);                             // no compression
    Put32(info + 20, static_cast<uint32_t>(imageSize));
    Put32(info + 24, 3780);  // 96 dots per inch
    Put32(info + 28, 3780);
    return true;
}

}  // namespace

size_t BmpRowStride(int32_t width) {
    return width <= 0 ? 0 : (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
}

std::vector<uint8_t> EncodeBmp24(int32_t width, int32_t height, const uint8_t* rows, size_t rowStride) {
    std::vector<uint8_t> file;
    if (rows == nullptr || !StartFile(width, height, file)) {
        return {};
    }
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    if (rowStride < rowBytes) {
        return {};
    }
    const size_t stride = BmpRowStride(width);
    uint8_t* out = file.data() + BmpFileHeaderSize + BmpInfoHeaderSize;
    for (int32_t y = 0; y < height; ++y) {
        std::memcpy(out + y * stride, rows + y * rowStride, rowBytes);
    }
    return file;
}

std::vector<uint8_t> EncodeBmp24FromRgb(int32_t width, int32_t height, const uint8_t* rgb) {
    std::vector<uint8_t> file;
    if (rgb == nullptr || !StartFile(width, height, file)) {
        return {};
    }
    const size_t stride = BmpRowStride(width);
    uint8_t* out = file.data() + BmpFileHeaderSize + BmpInfoHeaderSize;
    const size_t w = static_cast<size_t>(width);
    for (size_t y = 0; y < static_cast<size_t>(height); ++y) {
        for (size_t x = 0; x < w; ++x) {
            const uint8_t* in = rgb + (y * w + x) * 3;
            uint8_t* px = out + y * stride + x * 3;
            px[0] = in[2];
            px[1] = in[1];
            px[2] = in[0];
        }
    }
    return file;
}
