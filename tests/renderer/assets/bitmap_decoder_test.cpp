#include <gtest/gtest.h>

#include <string>

#include "renderer/assets/bitmap_decoder.h"
#include "tests/renderer/assets/bitmap_writer.h"
#include "tests/renderer/assets/decode_result.h"

namespace {

BitmapLayout Layout(int32_t width, int32_t height, uint16_t bitCount) {
    BitmapLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = bitCount;
    return layout;
}

// The picture a palette gives for indices listed top row first, as the
// decoder should return it: bottom row first.
std::vector<uint8_t> Expected(const std::vector<uint32_t>& palette, const std::vector<uint32_t>& indices, int width) {
    std::vector<uint8_t> rgb;
    for (size_t row = indices.size() / width; row-- > 0;)
        for (int x = 0; x < width; ++x) {
            const uint32_t c = palette[indices[row * width + x]];
            rgb.insert(rgb.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
    return rgb;
}

TEST(BitmapDecoder, Rgb24RowsLoseTheirPaddingAndStartBottomLeft) {
    for (bool fileHeader : {true, false}) {
        SCOPED_TRACE(fileHeader);
        BitmapLayout layout = Layout(3, 2, 24);
        layout.fileHeader = fileHeader;
        const auto bytes = WriteBitmap(layout, {0xFF0000, 0x00FF00, 0x0000FF,    // top row
                                                0xFFFFFF, 0x102030, 0x123456});  // bottom row
        ASSERT_EQ(bytes.size(), (fileHeader ? 14u : 0u) + 40 + 2 * (9 + 3));
        const DecodeResult result = Decode(bytes);
        ASSERT_EQ(result.error, DecodeError::None);
        EXPECT_EQ(result.width, 3);
        EXPECT_EQ(result.height, 2);
        EXPECT_EQ(result.rgb, RgbBytes({0xFFFFFF, 0x102030, 0x123456, 0xFF0000, 0x00FF00, 0x0000FF}));
    }
    // 5 pixels: 15 bytes and one padding byte per row.
    const auto five = WriteBitmap(Layout(5, 2, 24), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    ASSERT_EQ(five.size(), 14u + 40 + 2 * 16);
    EXPECT_EQ(Decode(five).rgb, RgbBytes({6, 7, 8, 9, 10, 1, 2, 3, 4, 5}));
}

TEST(BitmapDecoder, IndexedDepthsLookUpTheColourTable) {
    const std::vector<uint32_t> palette = {0x000000, 0xFF8000, 0x00FF80, 0x8000FF, 0x123456, 0x654321,
                                           0xABCDEF, 0xFEDCBA, 0x010203, 0x0A0B0C, 0x111111, 0x222222,
                                           0x333333, 0x444444, 0x555555, 0x666666};
    for (uint16_t bits : {1, 4, 8}) {
        for (uint32_t headerSize : {40u, 12u}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, header " + std::to_string(headerSize));
            const uint32_t colours = bits == 1 ? 2 : 16;
            BitmapLayout layout = Layout(11, 2, bits);  // 11 pixels: a partial byte and row padding
            layout.headerSize = headerSize;
            layout.palette.assign(palette.begin(), palette.begin() + colours);
            if (bits == 8 && headerSize == 40)
                layout.colorsUsed = colours;
            else if (bits == 8)
                layout.palette.resize(256, 0x000000);
            std::vector<uint32_t> indices;
            for (uint32_t i = 0; i < 22; ++i) indices.push_back((i * 5 + i / 11) % colours);
            const DecodeResult result = Decode(WriteBitmap(layout, indices));
            ASSERT_EQ(result.error, DecodeError::None);
            EXPECT_EQ(result.rgb, Expected(palette, indices, 11));
        }
    }
}

TEST(BitmapDecoder, ColoursUsedSetsTheTableLengthAndThePixelStart) {
    // Without a file header the pixels follow the table: after entry 20 with
    // colours-used 20, after entry 256 with colours-used 0.
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 256; ++i) palette.push_back(i * 0x010101 ^ 0x00A050);
    const std::vector<uint32_t> indices = {0, 19, 7, 3, 12, 18};
    for (uint32_t used : {20u, 0u}) {
        SCOPED_TRACE(used);
        BitmapLayout layout = Layout(3, 2, 8);
        layout.fileHeader = false;
        layout.colorsUsed = used;
        layout.palette.assign(palette.begin(), palette.begin() + (used ? used : 256));
        const DecodeResult result = Decode(WriteBitmap(layout, indices));
        ASSERT_EQ(result.error, DecodeError::None);
        EXPECT_EQ(result.rgb, Expected(palette, indices, 3));
    }
}

TEST(BitmapDecoder, ColorTableSizeFollowsColoursUsedThenDepth) {
    DibHeader header = {40, 1, 1, 1, 8, 0, 0};
    EXPECT_EQ(ColorTableSize(header), 256);
    header.ColorsUsed = 0x12340014;  // only the low 16 bits count
    EXPECT_EQ(ColorTableSize(header), 0x14);
    header.BitCount = 24;
    EXPECT_EQ(ColorTableSize(header), 0x14);
    header.Size = 12;  // a core header has no colours-used field
    EXPECT_EQ(ColorTableSize(header), 0);
    const std::pair<int, int> depths[] = {{1, 2}, {4, 16}, {8, 256}, {2, 0}, {16, 0}, {32, 0}};
    for (auto [bits, entries] : depths) {
        header.BitCount = uint16_t(bits);
        EXPECT_EQ(ColorTableSize(header), entries) << bits;
    }
}

TEST(BitmapDecoder, IndicesBeyondTheTableAreBlack) {
    BitmapLayout layout = Layout(4, 1, 8);
    layout.colorsUsed = 2;
    layout.palette = {0xFF0000, 0x00FF00};
    EXPECT_EQ(Decode(WriteBitmap(layout, {0, 1, 2, 255})).rgb, RgbBytes({0xFF0000, 0x00FF00, 0, 0}));

    BitmapLayout pal1 = Layout(2, 1, 1);
    pal1.colorsUsed = 1;
    pal1.palette = {0xFFFFFF};
    EXPECT_EQ(Decode(WriteBitmap(pal1, {0, 1})).rgb, RgbBytes({0xFFFFFF, 0}));
}

TEST(BitmapDecoder, SixteenBitsWidenFiveBitChannelsAndIgnoreTheTopBit) {
    const auto bytes = WriteBitmap(Layout(6, 1, 16), {0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x0421, 0x8000 | 0x4210});
    EXPECT_EQ(Decode(bytes).rgb, RgbBytes({0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x080808, 0x848484}));
}

TEST(BitmapDecoder, ThirtyTwoBitsIgnoreTheUnusedByte) {
    const auto bytes = WriteBitmap(Layout(2, 1, 32), {0xFF123456, 0x00ABCDEF});
    EXPECT_EQ(Decode(bytes).rgb, RgbBytes({0x123456, 0xABCDEF}));
}

TEST(BitmapDecoder, BitfieldMasksAreHonouredAndScaled) {
    BitmapLayout rgb565 = Layout(5, 1, 16);
    rgb565.compression = 3;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(Decode(WriteBitmap(rgb565, {0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0821})).rgb,
              RgbBytes({0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x080408}));

    BitmapLayout odd32 = Layout(3, 1, 32);
    odd32.compression = 3;
    odd32.masks = {0xFF000000, 0x00000FF0, 0x00FF0000};  // green wider apart, red on top
    EXPECT_EQ(Decode(WriteBitmap(odd32, {0x12000340, 0xFFFFFFFF, 0x00AB000F})).rgb,
              RgbBytes({0x123400, 0xFFFFFF, 0x0000AB}));

    BitmapLayout tiny = Layout(4, 1, 16);
    tiny.compression = 3;
    tiny.masks = {0x0030, 0x000E, 0x0000};  // 2 bits, 3 bits, no blue at all
    EXPECT_EQ(Decode(WriteBitmap(tiny, {0x0030, 0x000E, 0x0010, 0x0002})).rgb,
              RgbBytes({0xFF0000, 0x00FF00, 0x550000, 0x002400}));
}

TEST(BitmapDecoder, DefaultFiveBitMasksGiveTheSameColoursAsNoMasks) {
    std::vector<uint32_t> all(256 * 128);
    for (uint32_t v = 0; v < all.size(); ++v) all[v] = v;
    BitmapLayout plain = Layout(256, 128, 16);
    BitmapLayout masked = plain;
    masked.compression = 3;
    masked.masks = {0x7C00, 0x03E0, 0x001F};
    const DecodeResult a = Decode(WriteBitmap(plain, all));
    const DecodeResult b = Decode(WriteBitmap(masked, all));
    ASSERT_EQ(a.error, DecodeError::None);
    EXPECT_EQ(a.rgb, b.rgb);
}

TEST(BitmapDecoder, TopDownRowsAreTurnedBottomUp) {
    BitmapLayout layout = Layout(2, -3, 24);
    const std::vector<uint32_t> picture = {0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606};
    const DecodeResult result = Decode(WriteBitmap(layout, picture));
    ASSERT_EQ(result.error, DecodeError::None);
    EXPECT_EQ(result.height, 3);
    EXPECT_EQ(result.rgb, RgbBytes({0x050505, 0x060606, 0x030303, 0x040404, 0x010101, 0x020202}));
}

TEST(BitmapDecoder, RunLengthStreamsDecodeWithSkippedPixelsBlack) {
    const uint32_t k = 0;
    for (const SampleBitmap& sample : SampleBitmaps()) {
        if (!sample.runLength) continue;
        SCOPED_TRACE(sample.name);
        const DecodeResult result = Decode(sample.bytes);
        ASSERT_EQ(result.error, DecodeError::None);
        // Sample palettes: 0 black, 1 0x404040, 2 0x808080, 3 0xC0C0C0, 4 white,
        // 5 red, 6 green, ..., 15 0xFEDCBA.
        if (sample.name == "rle8")
            EXPECT_EQ(result.rgb, RgbBytes({0x404040, 0x404040, 0x404040, k,  // run, end of line
                                            0x808080, 0xC0C0C0, 0x404040, k,  // absolute run
                                            k, 0x808080, k, k}));             // delta, end of picture
        else
            EXPECT_EQ(result.rgb, RgbBytes({0x404040, 0x808080, 0x404040, k, k, k, 0xC0C0C0, 0xFFFFFF, 0xFF0000,
                                            0xFEDCBA, 0x00FF00, k}));
    }
}

TEST(BitmapDecoder, RunLengthWritesOutsideThePictureAreDropped) {
    BitmapLayout layout = Layout(2, 2, 8);
    layout.compression = 1;
    layout.colorsUsed = 2;
    layout.palette = {0x000000, 0xFFFFFF};
    // A run past the row end, then a jump far beyond the last row, which ends
    // the picture without an end code.
    const DecodeResult result = Decode(WriteBitmapData(layout, {5, 1, 0, 0, 0, 2, 255, 255, 200, 1}));
    ASSERT_EQ(result.error, DecodeError::None);
    EXPECT_EQ(result.rgb, RgbBytes({0xFFFFFF, 0xFFFFFF, 0, 0}));

    BitmapLayout rle4 = Layout(3, 1, 4);
    rle4.compression = 2;
    rle4.colorsUsed = 2;
    rle4.palette = {0x000000, 0xFFFFFF};
    // Absolute runs: one needing more bytes than the file holds, one longer than the row.
    EXPECT_EQ(Decode(WriteBitmapData(rle4, {0, 255, 0x11, 0x11})).error, DecodeError::ConversionError);
    EXPECT_EQ(Decode(WriteBitmapData(rle4, {0, 7, 0x11, 0x11, 0x11, 0x11, 0, 1})).rgb,
              RgbBytes({0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
}

// Pixel data enough for any valid reading of the small headers used here.
DecodeError ErrorFor(BitmapLayout layout, size_t pixelBytes = 4096) {
    return Decode(WriteBitmapData(layout, std::vector<uint8_t>(pixelBytes, 0))).error;
}

TEST(BitmapDecoder, OtherHeaderSizesAreAnUnknownFormat) {
    for (uint32_t size : {108u, 124u, 64u, 16u, 52u, 0u, 0xFFFFFFFFu}) {
        for (bool fileHeader : {true, false}) {
            BitmapLayout layout = Layout(2, 2, 24);
            layout.headerSize = size;
            layout.fileHeader = fileHeader;
            EXPECT_EQ(ErrorFor(layout), DecodeError::UnknownFormat) << size << " " << fileHeader;
        }
    }
}

TEST(BitmapDecoder, UnconvertibleHeadersAreConversionErrors) {
    struct Case {
        const char* what;
        int32_t width, height;
        uint16_t bits, planes;
        uint32_t compression;
    };
    const Case cases[] = {
        {"zero width", 0, 2, 24, 1, 0},    {"negative width", -2, 2, 24, 1, 0},
        {"zero height", 2, 0, 24, 1, 0},   {"two planes", 2, 2, 24, 2, 0},
        {"2 bits", 2, 2, 2, 1, 0},         {"0 bits", 2, 2, 0, 1, 0},
        {"30000 bits", 2, 2, 30000, 1, 0}, {"64 bits", 2, 2, 64, 1, 0},
        {"RLE8 at 4 bits", 2, 2, 4, 1, 1}, {"RLE4 at 8 bits", 2, 2, 8, 1, 2},
        {"top-down RLE", 2, -2, 8, 1, 1},  {"masks at 24 bits", 2, 2, 24, 1, 3},
        {"JPEG", 2, 2, 0, 1, 4},           {"PNG", 2, 2, 0, 1, 5},
        {"alpha masks", 2, 2, 32, 1, 6},   {"unknown compression", 2, 2, 24, 1, 99},
    };
    for (const Case& c : cases) {
        BitmapLayout layout = Layout(c.width, c.height, c.bits);
        layout.planes = c.planes;
        layout.compression = c.compression;
        if (c.compression == 3) layout.masks = {0xFF0000, 0xFF00, 0xFF};
        EXPECT_EQ(ErrorFor(layout), DecodeError::ConversionError) << c.what;
    }
}

TEST(BitmapDecoder, MissingDataAreConversionErrors) {
    BitmapLayout layout = Layout(3, 2, 24);
    EXPECT_EQ(ErrorFor(layout, 2 * 12 - 1), DecodeError::ConversionError) << "last row short by a byte";

    std::vector<uint8_t> farOffset = WriteBitmap(layout, std::vector<uint32_t>(6, 0));
    farOffset[10] = 0xF0;
    farOffset[13] = 0xFF;  // pixel data said to start near 4 GiB
    EXPECT_EQ(Decode(farOffset).error, DecodeError::ConversionError);

    BitmapLayout hugeTable = Layout(2, 2, 8);
    hugeTable.colorsUsed = 0x12341234;  // 0x1234 entries, not in the file
    EXPECT_EQ(ErrorFor(hugeTable), DecodeError::ConversionError);
}

TEST(BitmapDecoder, AbsurdSizesAreOutOfMemoryWithoutAllocating) {
    // None of these files holds the pixel data it declares: the size is
    // refused before the data are looked for, so nothing large is allocated.
    const std::pair<int32_t, int32_t> sizes[] = {{3000000, 2000000}, {16385, 1},     {1, 16385},    {1, -16385},
                                                 {8193, 8193},       {2, INT32_MIN}, {INT32_MAX, 1}};
    for (auto [width, height] : sizes)
        EXPECT_EQ(ErrorFor(Layout(width, height, 24)), DecodeError::OutOfMemory) << width << " x " << height;

    BitmapLayout core = Layout(65535, 65535, 1);
    core.headerSize = 12;
    core.palette = {0, 0xFFFFFF};
    EXPECT_EQ(ErrorFor(core), DecodeError::OutOfMemory);

    EXPECT_EQ(ErrorFor(Layout(16384, 4096, 24)), DecodeError::ConversionError) << "largest size, data missing";
}

TEST(BitmapDecoder, EveryPrefixOfAValidFileFailsCleanlyOrDecodes) {
    for (const SampleBitmap& sample : SampleBitmaps()) {
        SCOPED_TRACE(sample.name);
        const DecodeResult full = Decode(sample.bytes);
        ASSERT_EQ(full.error, DecodeError::None);
        for (size_t size = 0; size < sample.bytes.size(); ++size) {
            const DecodeResult cut = Decode(sample.bytes.data(), size);
            if (cut.error == DecodeError::None) {
                // Only a run-length stream cut after its last row still decodes.
                EXPECT_TRUE(sample.runLength) << "cut to " << size;
                EXPECT_EQ(cut.rgb, full.rgb) << "cut to " << size;
            } else {
                EXPECT_EQ(cut.error, DecodeError::ConversionError) << "cut to " << size;
            }
        }
    }
}

TEST(BitmapDecoder, MessagesAreTheUsersTexts) {
    EXPECT_STREQ(DecodeErrorMessage(DecodeError::OutOfMemory), "Out of memory.");
    EXPECT_STREQ(DecodeErrorMessage(DecodeError::UnknownFormat), "Unknown DIB file format.");
    EXPECT_STREQ(DecodeErrorMessage(DecodeError::ConversionError), "Image file conversion error.");
    EXPECT_STREQ(DecodeErrorMessage(DecodeError::None), "");
}

}  // namespace
