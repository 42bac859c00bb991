// Decoding a byte vector in tests, with the result copied out and freed.
#pragma once
#include <cstring>
#include <memory>
#include <vector>

#include "renderer/assets/bitmap_decoder.h"

struct DecodeResult {
    DecodeError error = DecodeError::None;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};

// The bytes are copied into a buffer of exactly their size, so that the
// address sanitizer sees any read past the end.
inline DecodeResult Decode(const uint8_t* bytes, size_t size) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[size ? size : 1]);
    if (size) std::memcpy(exact.get(), bytes, size);
    BitmapImage* image = nullptr;
    DecodeResult result;
    result.error = DecodeBitmapBytes(exact.get(), size, &image);
    if (image) {
        result.width = image->width;
        result.height = image->height;
        result.rgb.assign(image->pixels, image->pixels + size_t(image->width) * image->height * 3);
        FreeBitmapImage(image);
    }
    return result;
}

inline DecodeResult Decode(const std::vector<uint8_t>& bytes) {
    return Decode(bytes.data(), bytes.size());
}
