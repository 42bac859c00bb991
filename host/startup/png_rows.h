// A PNG read a piece at a time: its rows come out one by one, top row first,
// as 8-bit B G R triples, so that the decoded picture is never whole in
// memory. Bit depths 1 to 16, every colour type; 16-bit samples give their
// high byte, alpha is dropped, ancillary chunks are skipped and CRCs are not
// checked. Interlaced (Adam7) pictures are not read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

enum class PngError { None, NotPng, BadHeader, Interlaced, TooLarge, BadChunk, NoPalette, BadData, Truncated, Stopped };

struct PngHeader {
    uint32_t Width = 0, Height = 0;
    uint8_t BitDepth = 0, ColourType = 0;
    bool Interlaced = false;
};

// Widest picture read (its rows stay under half a megabyte) and most pixels.
constexpr uint32_t MostPngWidth = 1u << 16;
constexpr uint64_t MostPngPixels = 1ull << 26;

// Gives up to `most` bytes of the file at `into` and says how many; 0 at its
// end or on a read error.
using PngByteSource = std::function<size_t(uint8_t* into, size_t most)>;
// Takes one row of Width B G R triples; false stops the reading.
using PngRowSink = std::function<bool(const uint8_t* bgr)>;

class PngRowReader {
public:
    explicit PngRowReader(PngByteSource source) : source_(std::move(source)) {}

    // The signature and IHDR. An interlaced picture gives Interlaced, with
    // the header filled in.
    PngError ReadHeader(PngHeader& header);
    // Every row, after ReadHeader succeeded.
    PngError ReadRows(const PngRowSink& sink);

private:
    bool ReadExactly(uint8_t* into, size_t count);
    bool Skip(uint32_t count);
    PngError NextChunk();
    PngError Unfilter(uint8_t filter);
    void PaletteColour(size_t index, uint8_t* out) const;
    void ToBgr();

    PngByteSource source_;
    PngHeader header_;
    uint32_t chunkLeft_ = 0;  // bytes of the current chunk's data not read yet
    uint8_t chunkType_[4] = {};
    size_t rowBytes_ = 0, pixelBytes_ = 0;
    std::vector<uint8_t> row_, previous_, bgr_, palette_;
};
