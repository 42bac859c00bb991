#include "host/startup/png_rows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "host/startup/box_shrink.h"
#include "tests/host/startup/png_writer.h"

namespace {

struct Decoded {
    PngError Error = PngError::None;
    PngHeader Header;
    std::vector<uint8_t> Bgr;  // every row handed out, one after another
};

// Reads the file `piece` bytes at a time.
Decoded Decode(const std::vector<uint8_t>& file, size_t piece = 1 << 20) {
    size_t at = 0;
    PngRowReader reader([&](uint8_t* into, size_t most) {
        const size_t n = std::min({most, piece, file.size() - at});
        memcpy(into, file.data() + at, n);
        at += n;
        return n;
    });
    Decoded result;
    result.Error = reader.ReadHeader(result.Header);
    if (result.Error != PngError::None) return result;
    result.Error = reader.ReadRows([&](const uint8_t* bgr) {
        result.Bgr.insert(result.Bgr.end(), bgr, bgr + result.Header.Width * 3);
        return true;
    });
    return result;
}

std::vector<uint8_t> Bgr(std::initializer_list<uint32_t> colours) {  // 0xRRGGBB
    std::vector<uint8_t> bytes;
    for (uint32_t c : colours) bytes.insert(bytes.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
    return bytes;
}

TEST(PngRows, EachColourTypeAndDepthGivesBgr) {
    struct Case {
        const char* name;
        PngLayout layout;
        std::vector<uint8_t> row;  // one row, filter None
        std::vector<uint8_t> bgr;
    };
    const std::vector<uint8_t> palette = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99};
    const Case cases[] = {
        {"grey 1", Png(3, 1, 1, 0), {0xa0}, Bgr({0xffffff, 0, 0xffffff})},
        {"grey 2", Png(4, 1, 2, 0), {0x1b}, Bgr({0, 0x555555, 0xaaaaaa, 0xffffff})},
        {"grey 4", Png(2, 1, 4, 0), {0xf1}, Bgr({0xffffff, 0x111111})},
        {"grey 8", Png(2, 1, 8, 0), {0x12, 0xfe}, Bgr({0x121212, 0xfefefe})},
        {"grey 16", Png(1, 1, 16, 0), {0x9a, 0xbc}, Bgr({0x9a9a9a})},
        {"rgb 8", Png(1, 1, 8, 2), {1, 2, 3}, Bgr({0x010203})},
        {"rgb 16", Png(1, 1, 16, 2), {0xa1, 0xff, 0xb2, 0, 0xc3, 9}, Bgr({0xa1b2c3})},
        {"palette 1", Png(2, 1, 1, 3, palette), {0x40}, Bgr({0x112233, 0x445566})},
        {"palette 2, an index past the end black", Png(2, 1, 2, 3, palette), {0xb0}, Bgr({0x778899, 0})},
        {"palette 4", Png(2, 1, 4, 3, palette), {0x21}, Bgr({0x778899, 0x445566})},
        {"palette 8", Png(1, 1, 8, 3, palette), {2}, Bgr({0x778899})},
        {"grey alpha 8", Png(1, 1, 8, 4), {0x40, 0x10}, Bgr({0x404040})},
        {"grey alpha 16", Png(1, 1, 16, 4), {0x41, 1, 0x10, 2}, Bgr({0x414141})},
        {"rgba 8", Png(1, 1, 8, 6), {1, 2, 3, 0}, Bgr({0x010203})},
        {"rgba 16", Png(1, 1, 16, 6), {1, 9, 2, 9, 3, 9, 0x80, 9}, Bgr({0x010203})},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> rows = {0};
        rows.insert(rows.end(), c.row.begin(), c.row.end());
        const Decoded decoded = Decode(WritePng(c.layout, rows));
        EXPECT_EQ(decoded.Error, PngError::None) << c.name;
        EXPECT_EQ(decoded.Bgr, c.bgr) << c.name;
    }
}

// The encoder's side of a filter, on `bpp`-byte pixels.
std::vector<uint8_t> Filtered(uint8_t filter, const std::vector<uint8_t>& row, const std::vector<uint8_t>& up,
                              size_t bpp) {
    std::vector<uint8_t> out = {filter};
    for (size_t i = 0; i < row.size(); ++i) {
        const int a = i >= bpp ? row[i - bpp] : 0, b = up[i], c = i >= bpp ? up[i - bpp] : 0;
        const int p = a + b - c;
        const int paeth = (abs(p - a) <= abs(p - b) && abs(p - a) <= abs(p - c)) ? a : abs(p - b) <= abs(p - c) ? b : c;
        const int predictor[] = {0, a, b, (a + b) / 2, paeth};
        out.push_back(uint8_t(row[i] - predictor[filter]));
    }
    return out;
}

TEST(PngRows, EveryFilterUndoneAcrossChunksAndPieces) {
    // 64 x 20 RGB of random bytes (a few values, so that Paeth has ties),
    // rows filtered None, Sub, Up, Average, Paeth in turn, the data in 5-byte
    // IDAT chunks, the file read in 3-byte pieces.
    PngLayout layout = Png(64, 20, 8, 2);
    layout.idatPiece = 5;
    std::vector<uint8_t> rows, expected, up(192, 0);
    uint32_t random = 1;
    for (uint32_t y = 0; y < layout.height; ++y) {
        std::vector<uint8_t> row(192);
        for (uint8_t& byte : row) byte = uint8_t((random = random * 1103515245 + 12345) >> 16 & 7) * 37;
        const std::vector<uint8_t> filtered = Filtered(uint8_t(y % 5), row, up, 3);
        rows.insert(rows.end(), filtered.begin(), filtered.end());
        for (size_t x = 0; x < 64; ++x) expected.insert(expected.end(), {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
        up = row;
    }
    const Decoded decoded = Decode(WritePng(layout, rows), 3);
    EXPECT_EQ(decoded.Error, PngError::None);
    EXPECT_EQ(decoded.Bgr, expected);
}

TEST(PngRows, BadFilesFailCleanly) {
    const PngLayout rgb = Png(2, 2, 8, 2);
    const std::vector<uint8_t> twoRows = {0, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12};
    const std::vector<uint8_t> good = WritePng(rgb, twoRows);
    ASSERT_EQ(Decode(good).Error, PngError::None);

    std::vector<uint8_t> notPng = good;
    notPng[1] = 'Q';
    EXPECT_EQ(Decode(notPng).Error, PngError::NotPng);
    for (size_t cut : {size_t(20), size_t(40), good.size() - 30})
        EXPECT_EQ(Decode(std::vector<uint8_t>(good.begin(), good.begin() + cut)).Error, PngError::Truncated) << cut;

    PngLayout huge = rgb;
    huge.width = MostPngWidth + 1;
    EXPECT_EQ(Decode(WritePng(huge, twoRows)).Error, PngError::TooLarge);
    huge.width = 1 << 12;
    huge.height = 1 << 15;
    EXPECT_EQ(Decode(WritePng(huge, twoRows)).Error, PngError::TooLarge);
    PngLayout badDepth = rgb;
    badDepth.bitDepth = 4;
    EXPECT_EQ(Decode(WritePng(badDepth, twoRows)).Error, PngError::BadHeader);
    PngLayout interlaced = rgb;
    interlaced.interlace = 1;
    EXPECT_EQ(Decode(WritePng(interlaced, twoRows)).Error, PngError::Interlaced);
    EXPECT_EQ(Decode(WritePng(Png(2, 2, 8, 3), {0, 0, 0, 0, 0, 0})).Error, PngError::NoPalette);

    // A chunk length past what a chunk may have, in place of the tEXt's.
    std::vector<uint8_t> badLength = good;
    badLength[33] = 0x80;
    EXPECT_EQ(Decode(badLength).Error, PngError::BadChunk);

    std::vector<uint8_t> oneRowMissing(twoRows.begin(), twoRows.begin() + 7);
    EXPECT_EQ(Decode(WritePng(rgb, oneRowMissing)).Error, PngError::BadData);
    std::vector<uint8_t> oneRowMore = twoRows;
    oneRowMore.insert(oneRowMore.end(), twoRows.begin(), twoRows.begin() + 7);
    EXPECT_EQ(Decode(WritePng(rgb, oneRowMore)).Error, PngError::BadData);
    std::vector<uint8_t> badFilter = twoRows;
    badFilter[7] = 5;
    EXPECT_EQ(Decode(WritePng(rgb, badFilter)).Error, PngError::BadData);

    // Deflate data broken after its header: a block type that does not exist.
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    AppendPngChunk(file, "IHDR", {0, 0, 0, 2, 0, 0, 0, 2, 8, 2, 0, 0, 0});
    AppendPngChunk(file, "IDAT", {0x78, 0x9c, 0xff, 0xff, 0xff});
    AppendPngChunk(file, "IEND", {});
    EXPECT_EQ(Decode(file).Error, PngError::BadData);
}

TEST(BoxShrink, AveragesTheAreaEachPixelCovers) {
    // 3 x 3 grey to 2 x 2: each target pixel covers 1.5 x 1.5 source pixels.
    const uint8_t grey[3][3] = {{0, 90, 180}, {90, 90, 90}, {180, 0, 0}};
    std::vector<std::vector<uint8_t>> got;
    BoxShrink shrink(3, 3, 2, 2, [&](uint32_t y, const uint8_t* bgr) {
        EXPECT_EQ(y, got.size());
        got.emplace_back(bgr, bgr + 6);
    });
    for (const auto& row : grey) {
        std::vector<uint8_t> bgr;
        for (uint8_t v : row) bgr.insert(bgr.end(), {v, v, v});
        shrink.AddRow(bgr.data());
    }
    // Top left: (0 + 90 / 2 + 90 / 2 + 90 / 4) / 2.25 = 50, and so on.
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], (std::vector<uint8_t>{50, 50, 50, 130, 130, 130}));
    EXPECT_EQ(got[1], (std::vector<uint8_t>{110, 110, 110, 30, 30, 30}));
}

}  // namespace
