// Windows bitmap decoder: file bytes in, packed RGB rows out (bottom row first).
#pragma once
#include <cstddef>
#include <cstdint>

struct BitmapImage {
    int32_t width;
    int32_t height;
    uint8_t* pixels;  // width * height * 3 bytes, R G B, bottom-left pixel first
};

enum class DecodeError { None, OutOfMemory, UnknownFormat, ConversionError };

// The fields of a 40-byte info header that decoding uses. A 12-byte core
// header is widened into the same record (size stays 12, compression and
// colorsUsed 0).
struct DibHeader {
    uint32_t Size;
    int32_t Width;
    int32_t Height;  // negative: rows stored top row first
    uint16_t Planes;
    uint16_t BitCount;
    uint32_t Compression;
    uint32_t ColorsUsed;
};

// Number of colour-table entries that follow the header (and its bit-field
// masks): the low 16 bits of colorsUsed when set (info headers only), else
// 2, 16 or 256 for 1, 4 or 8 bits per pixel, else 0.
uint16_t ColorTableSize(const DibHeader& header);

// The message shown to the user for a decoder failure ("" for None).
const char* DecodeErrorMessage(DecodeError error);

// Decodes a whole bitmap file held in memory. Never reads outside
// [data, data + size). On success *image is a new record the caller frees
// with FreeBitmapImage.
DecodeError DecodeBitmapBytes(const uint8_t* data, size_t size, BitmapImage** image);

void FreeBitmapImage(BitmapImage* image);
