// Windows bitmap decoder, portable: every read is checked against the end of
// the file image, and the picture size is capped before anything is allocated.
//
// [X] 40-byte info header and 12-byte core header, with or without the
//     14-byte "BM" file header (pixel data at its offset; without it, right
//     after the colour table)
// [X] 1, 4, 8 bits per pixel through the colour table (an index beyond the
//     table is black)
// [X] 16 bits (X1R5G5B5), 24 bits (B G R), 32 bits (B G R unused)
// [X] bit-field masks for 16 and 32 bits after a 40-byte header
// [X] RLE8 and RLE4 (pixels the stream skips are black)
// [X] top-down rows (negative height), turned bottom-up
// [ ] V4/V5 (108/124-byte) and OS/2 2.x headers: "Unknown DIB file format."
// [ ] 2 or 64 bits per pixel, JPEG/PNG payloads, alpha bit fields, top-down
//     RLE: "Image file conversion error."
#include "renderer/assets/bitmap_decoder.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

#include "renderer/assets/bitmap_rows.h"

namespace {

constexpr uint64_t FileHeaderSize = 14;
constexpr uint64_t PixelOffsetField = 10;  // in the file header
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t CoreHeaderSize = 12;
constexpr uint64_t BitfieldMasksSize = 12;

constexpr uint32_t CompressionNone = 0;
constexpr uint32_t CompressionRle8 = 1;
constexpr uint32_t CompressionRle4 = 2;
constexpr uint32_t CompressionBitfields = 3;

// Far above any screen, far below what a 32-bit process can allocate
// (64 Mi pixels are 192 MiB of RGB).
constexpr int64_t MaxBitmapSide = 16384;
constexpr int64_t MaxBitmapPixels = int64_t(64) << 20;

uint16_t Read16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// True when [offset, offset + count) lies inside a buffer of `size` bytes.
bool Fits(uint64_t offset, uint64_t count, size_t size) {
    return offset <= size && count <= size - offset;
}

// Where the parts of the file lie, all checked to be inside it except the
// pixel data, whose length depends on the format.
struct BitmapLayout {
    DibHeader Header;
    uint64_t MasksOffset;
    uint64_t TableOffset;
    uint64_t TableEntrySize;  // 4 (B G R reserved) or 3 (B G R) after a core header
    uint64_t PixelOffset;
};

DibHeader ParseInfoHeader(const uint8_t* p) {
    DibHeader header;
    header.Size = InfoHeaderSize;
    header.Width = int32_t(Read32(p + 4));
    header.Height = int32_t(Read32(p + 8));
    header.Planes = Read16(p + 12);
    header.BitCount = Read16(p + 14);
    header.Compression = Read32(p + 16);
    header.ColorsUsed = Read32(p + 32);
    return header;
}

DibHeader ParseCoreHeader(const uint8_t* p) {
    DibHeader header;
    header.Size = CoreHeaderSize;
    header.Width = Read16(p + 4);
    header.Height = Read16(p + 6);
    header.Planes = Read16(p + 8);
    header.BitCount = Read16(p + 10);
    header.Compression = CompressionNone;
    header.ColorsUsed = 0;
    return header;
}

// Headers or tables cut short by the end of the file are conversion errors:
// the format is known, the data to convert are missing.
DecodeError ReadLayout(const uint8_t* data, size_t size, BitmapLayout* layout) {
    const bool hasFileHeader = size >= 2 && data[0] == 'B' && data[1] == 'M';
    const uint64_t headerOffset = hasFileHeader ? FileHeaderSize : 0;
    if (!Fits(0, headerOffset + 4, size)) return DecodeError::ConversionError;
    const uint32_t headerSize = Read32(data + headerOffset);
    if (headerSize != InfoHeaderSize && headerSize != CoreHeaderSize) return DecodeError::UnknownFormat;
    if (!Fits(headerOffset, headerSize, size)) return DecodeError::ConversionError;

    const bool isInfo = headerSize == InfoHeaderSize;
    DibHeader& header = layout->Header;
    header = isInfo ? ParseInfoHeader(data + headerOffset) : ParseCoreHeader(data + headerOffset);
    layout->MasksOffset = headerOffset + headerSize;
    const bool hasMasks = isInfo && header.Compression == CompressionBitfields;
    layout->TableOffset = layout->MasksOffset + (hasMasks ? BitfieldMasksSize : 0);
    layout->TableEntrySize = isInfo ? 4 : 3;
    const uint64_t tableEnd = layout->TableOffset + ColorTableSize(header) * layout->TableEntrySize;
    if (!Fits(0, tableEnd, size)) return DecodeError::ConversionError;
    layout->PixelOffset = hasFileHeader ? Read32(data + PixelOffsetField) : tableEnd;
    return DecodeError::None;
}

bool IsSupportedFormat(const DibHeader& header) {
    if (header.Width <= 0 || header.Height == 0 || header.Planes != 1) return false;
    const uint16_t bits = header.BitCount;
    switch (header.Compression) {
    case CompressionNone:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case CompressionRle8:
        return bits == 8 && header.Height > 0;
    case CompressionRle4:
        return bits == 4 && header.Height > 0;
    case CompressionBitfields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

int64_t RowCount(const DibHeader& header) {
    return header.Height < 0 ? -int64_t(header.Height) : header.Height;
}

bool IsTooLarge(const DibHeader& header) {
    const int64_t width = header.Width;
    const int64_t rows = RowCount(header);
    return width > MaxBitmapSide || rows > MaxBitmapSide || width * rows > MaxBitmapPixels;
}

void ReadPalette(const uint8_t* data, const BitmapLayout& layout, Palette* palette) {
    const int entries = std::min<int>(ColorTableSize(layout.Header), 256);
    for (int i = 0; i < entries; ++i) {
        const uint8_t* entry = data + layout.TableOffset + i * layout.TableEntrySize;
        palette->Colours[i] = PaletteColour{entry[2], entry[1], entry[0]};
    }
}

void ReadMasks(const uint8_t* data, const BitmapLayout& layout, PixelFormat* format) {
    uint32_t red = 0x00FF0000, green = 0x0000FF00, blue = 0x000000FF;
    if (layout.Header.Compression == CompressionBitfields) {
        const uint8_t* masks = data + layout.MasksOffset;
        red = Read32(masks);
        green = Read32(masks + 4);
        blue = Read32(masks + 8);
    } else if (layout.Header.BitCount == 16) {
        red = 0x7C00;
        green = 0x03E0;
        blue = 0x001F;
    }
    format->Red = MakeChannelMask(red);
    format->Green = MakeChannelMask(green);
    format->Blue = MakeChannelMask(blue);
}

DecodeError DecodeRlePixels(const uint8_t* data, size_t size, const BitmapLayout& layout, const PixelFormat& format,
                            uint8_t** pixels) {
    const DibHeader& header = layout.Header;
    if (layout.PixelOffset > size) return DecodeError::ConversionError;
    uint8_t* buffer = static_cast<uint8_t*>(calloc(size_t(header.Width * RowCount(header) * 3), 1));
    if (!buffer) return DecodeError::OutOfMemory;
    if (!DecodeRle(data + layout.PixelOffset, size - layout.PixelOffset, format, header.Width, header.Height, buffer)) {
        free(buffer);
        return DecodeError::ConversionError;
    }
    *pixels = buffer;
    return DecodeError::None;
}

DecodeError DecodeRowPixels(const uint8_t* data, size_t size, const BitmapLayout& layout, const PixelFormat& format,
                            uint8_t** pixels) {
    const DibHeader& header = layout.Header;
    const int64_t rows = RowCount(header);
    const uint64_t stride = (uint64_t(header.BitCount) * header.Width + 31) / 32 * 4;
    if (!Fits(layout.PixelOffset, stride * rows, size)) return DecodeError::ConversionError;
    const uint64_t rowBytes = uint64_t(header.Width) * 3;
    uint8_t* buffer = static_cast<uint8_t*>(malloc(size_t(rowBytes * rows)));
    if (!buffer) return DecodeError::OutOfMemory;
    for (int64_t row = 0; row < rows; ++row) {
        const int64_t target = header.Height > 0 ? row : rows - 1 - row;
        ConvertRow(data + layout.PixelOffset + row * stride, header.Width, format, buffer + target * rowBytes);
    }
    *pixels = buffer;
    return DecodeError::None;
}

}  // namespace

uint16_t ColorTableSize(const DibHeader& header) {
    if (header.Size != CoreHeaderSize && header.ColorsUsed != 0) return uint16_t(header.ColorsUsed & 0xFFFF);
    switch (header.BitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

const char* DecodeErrorMessage(DecodeError error) {
    switch (error) {
    case DecodeError::OutOfMemory:
        return "Out of memory.";
    case DecodeError::UnknownFormat:
        return "Unknown DIB file format.";
    case DecodeError::ConversionError:
        return "Image file conversion error.";
    default:
        return "";
    }
}

DecodeError DecodeBitmapBytes(const uint8_t* data, size_t size, BitmapImage** image) {
    assert(image && "DecodeBitmapBytes needs somewhere to put the image");
    *image = nullptr;
    if (!data) size = 0;

    BitmapLayout layout;
    DecodeError error = ReadLayout(data, size, &layout);
    if (error != DecodeError::None) return error;
    const DibHeader& header = layout.Header;
    if (!IsSupportedFormat(header)) return DecodeError::ConversionError;
    // A well-formed header asking for a picture this large would fail at the
    // allocation, so it is reported as such before anything is allocated.
    if (IsTooLarge(header)) return DecodeError::OutOfMemory;

    PixelFormat format;
    format.BitCount = header.BitCount;
    ReadPalette(data, layout, &format.ColourTable);
    ReadMasks(data, layout, &format);

    uint8_t* pixels = nullptr;
    const bool isRle = header.Compression == CompressionRle8 || header.Compression == CompressionRle4;
    error = isRle ? DecodeRlePixels(data, size, layout, format, &pixels)
                  : DecodeRowPixels(data, size, layout, format, &pixels);
    if (error != DecodeError::None) return error;

    BitmapImage* record = static_cast<BitmapImage*>(malloc(sizeof(BitmapImage)));
    if (!record) {
        free(pixels);
        return DecodeError::OutOfMemory;
    }
    record->width = header.Width;
    record->height = int32_t(RowCount(header));
    record->pixels = pixels;
    *image = record;
    return DecodeError::None;
}

void FreeBitmapImage(BitmapImage* image) {
    if (!image) return;
    free(image->pixels);
    free(image);
}
