#include "tests/host/startup/png_writer.h"

#include <zlib.h>

#include <algorithm>

namespace {

void Append32(std::vector<uint8_t>& to, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) to.push_back(uint8_t(value >> shift));
}

}  // namespace

PngLayout Png(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType, std::vector<uint8_t> palette) {
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitDepth = bitDepth;
    layout.colourType = colourType;
    layout.palette = std::move(palette);
    return layout;
}

void AppendPngChunk(std::vector<uint8_t>& file, const char* type, const std::vector<uint8_t>& data) {
    Append32(file, uint32_t(data.size()));
    const size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    Append32(file, uint32_t(crc32(0, file.data() + start, uInt(file.size() - start))));
}

std::vector<uint8_t> WritePng(const PngLayout& layout, const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}, header;
    Append32(header, layout.width);
    Append32(header, layout.height);
    header.insert(header.end(), {layout.bitDepth, layout.colourType, 0, 0, layout.interlace});
    AppendPngChunk(file, "IHDR", header);
    AppendPngChunk(file, "tEXt", {'a', 0, 'b'});
    if (!layout.palette.empty()) AppendPngChunk(file, "PLTE", layout.palette);
    std::vector<uint8_t> deflated(compressBound(uLong(rows.size())));
    uLongf size = uLongf(deflated.size());
    compress(deflated.data(), &size, rows.data(), uLong(rows.size()));
    const size_t piece = layout.idatPiece ? layout.idatPiece : size;
    for (size_t at = 0; at < size; at += piece)
        AppendPngChunk(
            file, "IDAT",
            std::vector<uint8_t>(deflated.begin() + at, deflated.begin() + std::min<size_t>(at + piece, size)));
    AppendPngChunk(file, "IEND", {});
    return file;
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> SamplePngs() {
    const PngLayout grey = Png(3, 2, 1, 0), rgb16 = Png(2, 2, 16, 2), greyAlpha = Png(2, 2, 8, 4);
    const PngLayout palette = Png(4, 2, 2, 3, {255, 0, 0, 0, 255, 0, 0, 0, 255});
    PngLayout rgba = Png(2, 2, 8, 6);
    rgba.idatPiece = 7;
    return {
        {"grey1", WritePng(grey, {0, 0xa0, 1, 0x40})},
        {"rgb16",
         WritePng(rgb16, {4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 2, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})},
        {"palette2", WritePng(palette, {0, 0x1b, 3, 0x6c})},
        {"grey_alpha8", WritePng(greyAlpha, {0, 10, 20, 30, 40, 1, 50, 60, 70, 80})},
        {"rgba8", WritePng(rgba, {0, 1, 2, 3, 4, 5, 6, 7, 8, 2, 9, 10, 11, 12, 13, 14, 15, 16})},
    };
}
