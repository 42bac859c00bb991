// Builds PNG files in memory: the reader tests' pictures and the fuzzer's seeds.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct PngLayout {
    uint32_t width = 1, height = 1;
    uint8_t bitDepth = 8, colourType = 2, interlace = 0;
    std::vector<uint8_t> palette;  // R G B triples; a PLTE chunk when not empty
    size_t idatPiece = 0;          // the data split into IDAT chunks this long (0: one chunk)
};

PngLayout Png(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType, std::vector<uint8_t> palette = {});

// One chunk: length, type, data and CRC.
void AppendPngChunk(std::vector<uint8_t>& file, const char* type, const std::vector<uint8_t>& data);

// Signature, IHDR, PLTE, the deflated rows in IDAT chunks, IEND. Each of
// `rows` starts with its filter byte.
std::vector<uint8_t> WritePng(const PngLayout& layout, const std::vector<uint8_t>& rows);

// One small valid file per colour type.
std::vector<std::pair<std::string, std::vector<uint8_t>>> SamplePngs();
