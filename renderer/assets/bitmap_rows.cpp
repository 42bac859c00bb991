#include "renderer/assets/bitmap_rows.h"

#include <algorithm>

namespace {

// Second bytes of an RLE escape (a pair whose count is 0); larger values
// start an absolute run of that many pixels.
constexpr uint8_t RleEndOfLine = 0;
constexpr uint8_t RleEndOfBitmap = 1;
constexpr uint8_t RleDelta = 2;

void PutColour(const PaletteColour& colour, uint8_t* dst) {
    dst[0] = colour.Red;
    dst[1] = colour.Green;
    dst[2] = colour.Blue;
}

// Pixels of fewer than 8 bits are packed from the most significant bits.
uint8_t IndexAt(const uint8_t* src, int32_t x, int bitCount) {
    const int64_t bit = int64_t(x) * bitCount;
    const int shift = 8 - bitCount - int(bit % 8);
    return uint8_t((src[bit / 8] >> shift) & ((1 << bitCount) - 1));
}

uint32_t MaskedPixelAt(const uint8_t* src, int32_t x, int bitCount) {
    if (bitCount == 16) {
        const uint8_t* p = src + int64_t(x) * 2;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8;
    }
    const uint8_t* p = src + int64_t(x) * 4;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint8_t Nibble(uint8_t byte, int i) {
    return (i & 1) ? byte & 0x0F : byte >> 4;
}

}  // namespace

ChannelMask MakeChannelMask(uint32_t mask) {
    ChannelMask channel;
    channel.Mask = mask;
    if (mask == 0) return channel;
    while (!(mask >> channel.Shift & 1)) ++channel.Shift;
    int top = 31;
    while (!(mask >> top & 1)) --top;
    channel.Bits = top - channel.Shift + 1;
    return channel;
}

uint8_t ScaleChannel(uint32_t pixel, const ChannelMask& channel) {
    if (channel.Bits == 0) return 0;
    const uint32_t value = (pixel & channel.Mask) >> channel.Shift;
    if (channel.Bits >= 8) return uint8_t(value >> (channel.Bits - 8));
    uint32_t scaled = 0;
    for (int pos = 8 - channel.Bits; pos > -channel.Bits; pos -= channel.Bits)
        scaled |= pos >= 0 ? value << pos : value >> -pos;
    return uint8_t(scaled);
}

void ConvertRow(const uint8_t* src, int32_t width, const PixelFormat& format, uint8_t* dst) {
    switch (format.BitCount) {
    case 1:
    case 4:
    case 8:
        for (int32_t x = 0; x < width; ++x, dst += 3)
            PutColour(format.ColourTable.Colours[IndexAt(src, x, format.BitCount)], dst);
        break;
    case 24:
        for (int32_t x = 0; x < width; ++x, src += 3, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
        break;
    default:  // 16 and 32 bits: channels given by masks
        for (int32_t x = 0; x < width; ++x, dst += 3) {
            const uint32_t pixel = MaskedPixelAt(src, x, format.BitCount);
            dst[0] = ScaleChannel(pixel, format.Red);
            dst[1] = ScaleChannel(pixel, format.Green);
            dst[2] = ScaleChannel(pixel, format.Blue);
        }
        break;
    }
}

bool DecodeRle(const uint8_t* src, size_t size, const PixelFormat& format, int32_t width, int32_t height,
               uint8_t* dst) {
    const bool fourBit = format.BitCount == 4;
    size_t pos = 0;
    int64_t x = 0;
    int64_t y = 0;
    auto put = [&](uint8_t index) {
        if (x < width && y < height) PutColour(format.ColourTable.Colours[index], dst + (y * width + x) * 3);
        ++x;
    };
    while (y < height) {
        if (size - pos < 2) return false;
        const uint8_t count = src[pos];
        const uint8_t code = src[pos + 1];
        pos += 2;
        if (count > 0) {
            // Encoded run: one index repeated, or two alternating nibbles.
            for (int i = 0; i < count; ++i) put(fourBit ? Nibble(code, i) : code);
        } else if (code == RleEndOfLine) {
            x = 0;
            ++y;
        } else if (code == RleEndOfBitmap) {
            return true;
        } else if (code == RleDelta) {
            if (size - pos < 2) return false;
            x += src[pos];
            y += src[pos + 1];
            pos += 2;
        } else {
            // Absolute run of `code` literal pixels, padded to a 16-bit boundary.
            const size_t bytes = fourBit ? (code + 1u) / 2 : code;
            if (size - pos < bytes) return false;
            for (int i = 0; i < code; ++i) put(fourBit ? Nibble(src[pos + i / 2], i) : src[pos + i]);
            pos += std::min(bytes + (bytes & 1), size - pos);
        }
    }
    return true;
}
