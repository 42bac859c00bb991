// Writing a picture as a Windows bitmap file: 24 bits per pixel, no
// compression, bottom row first, rows padded to four bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t BmpFileHeaderSize = 14;
constexpr size_t BmpInfoHeaderSize = 40;

// Bytes of one stored row of a 24-bit bitmap: 3 per pixel, padded to 4.
size_t BmpRowStride(int32_t width);

// The whole file for a width x height picture. `rows` holds height rows of
// B G R bytes, each `rowStride` bytes apart, the bottom row first (the layout
// of a bottom-up 24-bit DIB). Empty when the size is not positive, the file
// would exceed 2 GiB, or rowStride is too short for a row.
std::vector<uint8_t> EncodeBmp24(int32_t width, int32_t height, const uint8_t* rows, size_t rowStride);

// The same from R G B pixels, bottom row first, rows packed without padding
// (what glReadPixels gives with GL_RGB and a pack alignment of 1).
std::vector<uint8_t> EncodeBmp24FromRgb(int32_t width, int32_t height, const uint8_t* rgb);
