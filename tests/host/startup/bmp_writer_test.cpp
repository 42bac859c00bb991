#include "host/startup/bmp_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "renderer/assets/bitmap_decoder.h"

namespace {

uint32_t Read32(const std::vector<uint8_t>& file, size_t at) {
    return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | static_cast<uint32_t>(file[at + 3]) << 24;
}

uint16_t Read16(const std::vector<uint8_t>& file, size_t at) {
    return static_cast<uint16_t>(file[at] | file[at + 1] << 8);
}

// Rows of B G R bytes, bottom first, with every pixel distinct.
std::vector<uint8_t> TestRows(int width, int height, size_t stride) {
    std::vector<uint8_t> rows(stride * height, 0xEE);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* px = &rows[y * stride + x * 3];
            px[0] = static_cast<uint8_t>(x * 7 + 1);
            px[1] = static_cast<uint8_t>(y * 11 + 2);
            px[2] = static_cast<uint8_t>(x + y * 13 + 3);
        }
    }
    return rows;
}

TEST(BmpWriter, HeadersDescribeA24BitBottomUpPicture) {
    const int width = 5, height = 3;
    const std::vector<uint8_t> rows = TestRows(width, height, BmpRowStride(width));
    const std::vector<uint8_t> file = EncodeBmp24(width, height, rows.data(), BmpRowStride(width));
    ASSERT_EQ(file.size(), 14u + 40u + 16u * 3u);  // 15 bytes of pixels padded to 16
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Read32(file, 2), file.size());
    EXPECT_EQ(Read32(file, 10), 54u);
    EXPECT_EQ(Read32(file, 14), 40u);
    EXPECT_EQ(static_cast<int32_t>(Read32(file, 18)), width);
    EXPECT_EQ(static_cast<int32_t>(Read32(file, 22)), height);  // positive: bottom row first
    EXPECT_EQ(Read16(file, 26), 1);
    EXPECT_EQ(Read16(file, 28), 24);
    EXPECT_EQ(Read32(file, 30), 0u);
    EXPECT_EQ(Read32(file, 34), 48u);
}

TEST(BmpWriter, RowsArePaddedWithZerosAndKeepTheirOrder) {
    for (int width = 1; width <= 6; ++width) {
        const int height = 4;
        const size_t inStride = width * 3 + 9;  // a source with its own, wider rows
        const std::vector<uint8_t> rows = TestRows(width, height, inStride);
        const std::vector<uint8_t> file = EncodeBmp24(width, height, rows.data(), inStride);
        const size_t stride = BmpRowStride(width);
        ASSERT_EQ(stride % 4, 0u);
        ASSERT_EQ(file.size(), 54 + stride * height) << "width " << width;
        for (int y = 0; y < height; ++y) {
            const uint8_t* out = &file[54 + y * stride];
            for (size_t i = 0; i < static_cast<size_t>(width) * 3; ++i) {
                ASSERT_EQ(out[i], rows[y * inStride + i]) << "width " << width << " row " << y;
            }
            for (size_t i = width * 3; i < stride; ++i) {
                ASSERT_EQ(out[i], 0) << "padding of width " << width << " row " << y;
            }
        }
    }
}

TEST(BmpWriter, RgbPixelsAreStoredAsBgr) {
    const uint8_t rgb[] = {10, 20, 30, 40,  50,  60,  // bottom row
                           70, 80, 90, 100, 110, 120};
    const std::vector<uint8_t> file = EncodeBmp24FromRgb(2, 2, rgb);
    ASSERT_EQ(file.size(), 54u + 8u * 2u);
    const uint8_t bottom[] = {30, 20, 10, 60, 50, 40, 0, 0};
    const uint8_t top[] = {90, 80, 70, 120, 110, 100, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.begin() + 62), std::vector<uint8_t>(bottom, bottom + 8));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 62, file.begin() + 70), std::vector<uint8_t>(top, top + 8));
}

TEST(BmpWriter, UnusableSizesGiveNoFile) {
    const uint8_t pixel[4] = {1, 2, 3, 0};
    EXPECT_TRUE(EncodeBmp24(0, 1, pixel, 4).empty());
    EXPECT_TRUE(EncodeBmp24(1, 0, pixel, 4).empty());
    EXPECT_TRUE(EncodeBmp24(-1, 1, pixel, 4).empty());
    EXPECT_TRUE(EncodeBmp24(1, -1, pixel, 4).empty());
    EXPECT_TRUE(EncodeBmp24(1, 1, nullptr, 4).empty());
    EXPECT_TRUE(EncodeBmp24(2, 1, pixel, 4).empty());  // a row of 2 pixels needs 6 bytes
    EXPECT_TRUE(EncodeBmp24FromRgb(0, 5, pixel).empty());
    // Beyond 2 GiB: refused before anything is read or allocated.
    EXPECT_TRUE(EncodeBmp24(40000, 40000, pixel, 120000).empty());
    EXPECT_TRUE(EncodeBmp24FromRgb(0x7fffffff, 0x7fffffff, pixel).empty());
    EXPECT_EQ(BmpRowStride(0), 0u);
    EXPECT_EQ(BmpRowStride(-5), 0u);
}

// What the host writes is what the renderer reads back.
TEST(BmpWriter, TheRenderersDecoderReadsTheFileBack) {
    const int width = 7, height = 5;
    const std::vector<uint8_t> rows = TestRows(width, height, BmpRowStride(width));
    const std::vector<uint8_t> file = EncodeBmp24(width, height, rows.data(), BmpRowStride(width));
    BitmapImage* image = nullptr;
    ASSERT_EQ(DecodeBitmapBytes(file.data(), file.size(), &image), DecodeError::None);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, width);
    EXPECT_EQ(image->height, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* in = &rows[y * BmpRowStride(width) + x * 3];
            const uint8_t* out = image->pixels + (y * width + x) * 3;
            ASSERT_EQ(out[0], in[2]) << x << "," << y;
            ASSERT_EQ(out[1], in[1]) << x << "," << y;
            ASSERT_EQ(out[2], in[0]) << x << "," << y;
        }
    }
    FreeBitmapImage(image);
}

}  // namespace
