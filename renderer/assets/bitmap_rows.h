// Pixel conversion for the bitmap decoder: one stored row, or a whole
// run-length stream, into packed R G B bytes.
#pragma once
#include <cstddef>
#include <cstdint>

struct PaletteColour {
    uint8_t Red, Green, Blue;
};

// Entries the file's colour table does not fill stay black, so every 8-bit
// index has a colour.
struct Palette {
    PaletteColour Colours[256] = {};
};

// One colour channel of a 16- or 32-bit pixel.
struct ChannelMask {
    uint32_t Mask = 0;
    int Shift = 0;  // position of the lowest mask bit
    int Bits = 0;   // from the lowest to the highest mask bit
};

ChannelMask MakeChannelMask(uint32_t mask);

// The channel's value scaled to 0..255: narrow channels repeat their bits
// downwards (5 bits: (v << 3) | (v >> 2)), wide ones keep their top 8 bits.
uint8_t ScaleChannel(uint32_t pixel, const ChannelMask& channel);

struct PixelFormat {
    int BitCount = 24;
    Palette ColourTable;           // 1, 4 and 8 bits per pixel
    ChannelMask Red, Green, Blue;  // 16 and 32 bits per pixel
};

// Converts one stored row of `width` pixels; src holds all of the row's bytes.
void ConvertRow(const uint8_t* src, int32_t width, const PixelFormat& format, uint8_t* dst);

// Decodes an RLE8 (bitCount 8) or RLE4 (bitCount 4) stream into a bottom-up
// picture of width x height pixels at dst, which the caller has made black.
// Pixels the stream skips (deltas, early ends of line or picture) stay black;
// pixels it places outside the picture are dropped. False when the stream
// ends before its end-of-picture code and before the last row is finished.
bool DecodeRle(const uint8_t* src, size_t size, const PixelFormat& format, int32_t width, int32_t height, uint8_t* dst);
