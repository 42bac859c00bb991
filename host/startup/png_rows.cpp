#include "host/startup/png_rows.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr size_t InputPiece = 32 * 1024;

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

bool IsType(const uint8_t* type, const char* name) {
    return memcmp(type, name, 4) == 0;
}

// Samples a pixel has in each colour type (0 where the type is unknown).
int Channels(uint8_t colourType) {
    switch (colourType) {
    case 0:
        return 1;
    case 2:
        return 3;
    case 3:
        return 1;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 0;
    }
}

bool DepthAllowed(uint8_t colourType, uint8_t depth) {
    switch (colourType) {
    case 0:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

uint8_t Paeth(uint8_t a, uint8_t b, uint8_t c) {
    const int p = int(a) + b - c, pa = abs(p - a), pb = abs(p - b), pc = abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Ends the inflate stream on every way out.
struct Inflater {
    z_stream Stream = {};
    bool Ready = false;
    ~Inflater() {
        if (Ready) inflateEnd(&Stream);
    }
};

}  // namespace

bool PngRowReader::ReadExactly(uint8_t* into, size_t count) {
    while (count > 0) {
        const size_t got = source_(into, count);
        if (got == 0 || got > count) return false;
        into += got;
        count -= got;
    }
    return true;
}

bool PngRowReader::Skip(uint32_t count) {
    uint8_t scrap[4096];
    while (count > 0) {
        const size_t piece = std::min<size_t>(count, sizeof scrap);
        if (!ReadExactly(scrap, piece)) return false;
        count -= uint32_t(piece);
    }
    return true;
}

// Skips what is left of the current chunk and its CRC, and reads the next
// chunk's length and type.
PngError PngRowReader::NextChunk() {
    uint8_t head[8];
    if (!Skip(chunkLeft_) || !Skip(4) || !ReadExactly(head, sizeof head)) return PngError::Truncated;
    chunkLeft_ = BigEndian32(head);
    memcpy(chunkType_, head + 4, 4);
    return chunkLeft_ > 0x7fffffffu ? PngError::BadChunk : PngError::None;
}

PngError PngRowReader::ReadHeader(PngHeader& header) {
    uint8_t start[8 + 8 + 13];
    if (!ReadExactly(start, 8)) return PngError::NotPng;
    if (memcmp(start, Signature, 8) != 0) return PngError::NotPng;
    if (!ReadExactly(start + 8, sizeof start - 8)) return PngError::Truncated;
    const uint8_t* ihdr = start + 16;
    if (BigEndian32(start + 8) != 13 || !IsType(start + 12, "IHDR")) return PngError::BadHeader;
    header.Width = BigEndian32(ihdr);
    header.Height = BigEndian32(ihdr + 4);
    header.BitDepth = ihdr[8];
    header.ColourType = ihdr[9];
    header.Interlaced = ihdr[12] == 1;
    if (header.Width == 0 || header.Height == 0 || header.Width > 0x7fffffffu || header.Height > 0x7fffffffu ||
        !DepthAllowed(header.ColourType, header.BitDepth) || ihdr[10] != 0 || ihdr[11] != 0 || ihdr[12] > 1)
        return PngError::BadHeader;
    if (header.Width > MostPngWidth || uint64_t(header.Width) * header.Height > MostPngPixels)
        return PngError::TooLarge;
    if (header.Interlaced) return PngError::Interlaced;
    header_ = header;
    chunkLeft_ = 0;
    const size_t bits = size_t(Channels(header.ColourType)) * header.BitDepth;
    rowBytes_ = (size_t(header.Width) * bits + 7) / 8;
    pixelBytes_ = bits < 8 ? 1 : bits / 8;
    return PngError::None;
}

PngError PngRowReader::Unfilter(uint8_t filter) {
    uint8_t* row = row_.data() + 1;
    const uint8_t* up = previous_.data();
    const size_t n = pixelBytes_;
    switch (filter) {
    case 0:
        break;
    case 1:
        for (size_t i = n; i < rowBytes_; ++i) row[i] = uint8_t(row[i] + row[i - n]);
        break;
    case 2:
        for (size_t i = 0; i < rowBytes_; ++i) row[i] = uint8_t(row[i] + up[i]);
        break;
    case 3:
        for (size_t i = 0; i < rowBytes_; ++i) row[i] = uint8_t(row[i] + ((i >= n ? row[i - n] : 0) + up[i]) / 2);
        break;
    case 4:
        for (size_t i = 0; i < rowBytes_; ++i)
            row[i] = uint8_t(row[i] + Paeth(i >= n ? row[i - n] : 0, up[i], i >= n ? up[i - n] : 0));
        break;
    default:
        return PngError::BadData;
    }
    return PngError::None;
}

// Palette entry `index` as B G R; an index past the palette's end is black.
void PngRowReader::PaletteColour(size_t index, uint8_t* out) const {
    const size_t at = index * 3;
    const bool known = at + 3 <= palette_.size();
    out[0] = known ? palette_[at + 2] : 0;
    out[1] = known ? palette_[at + 1] : 0;
    out[2] = known ? palette_[at] : 0;
}

// The unfiltered row as B G R triples.
void PngRowReader::ToBgr() {
    const uint8_t* row = row_.data() + 1;
    const int depth = header_.BitDepth, channels = Channels(header_.ColourType);
    uint8_t* out = bgr_.data();
    for (uint32_t x = 0; x < header_.Width; ++x, out += 3) {
        if (depth < 8) {
            const size_t bit = size_t(x) * depth;
            const int value = (row[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
            if (header_.ColourType == 3) {
                PaletteColour(value, out);
            } else {
                out[0] = out[1] = out[2] = uint8_t(value * 255 / ((1 << depth) - 1));
            }
            continue;
        }
        // Each sample's first byte: the whole of an 8-bit one, the high byte of a 16-bit one.
        const size_t step = size_t(depth) / 8;
        const uint8_t* sample = row + size_t(x) * channels * step;
        if (header_.ColourType == 3) {
            PaletteColour(sample[0], out);
        } else if (channels >= 3) {
            out[0] = sample[2 * step];
            out[1] = sample[step];
            out[2] = sample[0];
        } else {
            out[0] = out[1] = out[2] = sample[0];
        }
    }
}

PngError PngRowReader::ReadRows(const PngRowSink& sink) {
    if (rowBytes_ == 0) return PngError::BadHeader;
    // The chunks before the picture data: the palette is kept, the rest skipped.
    for (;;) {
        const PngError error = NextChunk();
        if (error != PngError::None) return error;
        if (IsType(chunkType_, "IDAT")) break;
        if (IsType(chunkType_, "PLTE")) {
            if (chunkLeft_ == 0 || chunkLeft_ % 3 != 0 || chunkLeft_ > 256 * 3) return PngError::BadChunk;
            palette_.resize(chunkLeft_);
            if (!ReadExactly(palette_.data(), chunkLeft_)) return PngError::Truncated;
            chunkLeft_ = 0;
        } else if (IsType(chunkType_, "IEND")) {
            return PngError::Truncated;
        } else if (!(chunkType_[0] & 0x20)) {
            return PngError::BadChunk;  // a critical chunk not known here
        }
    }
    if (header_.ColourType == 3 && palette_.empty()) return PngError::NoPalette;

    Inflater inflater;
    z_stream& z = inflater.Stream;
    if (inflateInit(&z) != Z_OK) return PngError::BadData;
    inflater.Ready = true;
    std::vector<uint8_t> input(InputPiece);
    row_.assign(rowBytes_ + 1, 0);
    previous_.assign(rowBytes_, 0);
    bgr_.assign(size_t(header_.Width) * 3, 0);
    bool ended = false;
    for (uint32_t y = 0; y < header_.Height; ++y) {
        z.next_out = row_.data();
        z.avail_out = uInt(row_.size());
        while (z.avail_out > 0) {
            if (ended) return PngError::BadData;  // the data ends before the rows do
            // The next piece of data, from this IDAT chunk or the ones after it.
            while (z.avail_in == 0) {
                if (chunkLeft_ == 0) {
                    const PngError error = NextChunk();
                    if (error != PngError::None) return error;
                    if (!IsType(chunkType_, "IDAT")) return PngError::Truncated;
                    continue;
                }
                const uInt piece = uInt(std::min<size_t>(chunkLeft_, input.size()));
                if (!ReadExactly(input.data(), piece)) return PngError::Truncated;
                chunkLeft_ -= piece;
                z.next_in = input.data();
                z.avail_in = piece;
            }
            const int result = inflate(&z, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                ended = true;
            } else if (result != Z_OK) {
                return PngError::BadData;
            }
        }
        const PngError error = Unfilter(row_[0]);
        if (error != PngError::None) return error;
        ToBgr();
        if (!sink(bgr_.data())) return PngError::Stopped;
        memcpy(previous_.data(), row_.data() + 1, rowBytes_);
    }
    // More pixel data than the picture has is a fault in the file.
    if (!ended && z.avail_in > 0) {
        uint8_t extra;
        z.next_out = &extra;
        z.avail_out = 1;
        const int result = inflate(&z, Z_NO_FLUSH);
        if (z.avail_out == 0 || (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR))
            return PngError::BadData;
    }
    return PngError::None;
}
