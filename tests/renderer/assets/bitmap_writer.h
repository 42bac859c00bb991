// Builds bitmap files in memory: the decoder tests' pictures and the fuzzer's
// seeds.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct BitmapLayout {
    int32_t width = 1;
    int32_t height = 1;  // negative: rows stored top row first
    uint16_t bitCount = 24;
    uint16_t planes = 1;
    uint32_t compression = 0;
    uint32_t headerSize = 40;  // 12 writes a core header; other sizes an info header padded with zeros
    bool fileHeader = true;
    uint32_t colorsUsed = 0;        // not stored in a core header
    std::vector<uint32_t> palette;  // 0xRRGGBB entries of the colour table
    std::vector<uint32_t> masks;    // written right after the header
};

// File header (when asked for), header, masks, colour table, then pixelData.
std::vector<uint8_t> WriteBitmapData(const BitmapLayout& layout, const std::vector<uint8_t>& pixelData);

// Stores `pixels` (top row first, width x |height| values) as padded rows:
// palette indices for 1/4/8 bits, 16-bit words, 0xRRGGBB for 24 bits and
// 0xXXRRGGBB for 32 bits (XX goes into the unused byte).
std::vector<uint8_t> WriteBitmap(const BitmapLayout& layout, const std::vector<uint32_t>& pixels);

// R, G, B bytes of 0xRRGGBB colours, in the order given.
std::vector<uint8_t> RgbBytes(std::initializer_list<uint32_t> colours);

struct SampleBitmap {
    std::string name;
    bool runLength;  // an RLE stream: a prefix that still ends every row decodes
    std::vector<uint8_t> bytes;
};

// One small valid file per supported layout.
std::vector<SampleBitmap> SampleBitmaps();
