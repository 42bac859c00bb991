// The kept pictures match what the dialog expects of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const std::string& name) {
    std::ifstream in(std::string(RIPPLUME_DIALOG_PICTURES) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t U16(const Bytes& b, size_t at) {
    return at + 2 <= b.size() ? b[at] | b[at + 1] << 8 : 0xFFFFFFFF;
}
int32_t I32(const Bytes& b, size_t at) {
    return at + 4 <= b.size() ? int32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24) : -1;
}

struct Rgb {
    int r, g, b;
};

// A 24-bit uncompressed Windows bitmap, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

Picture ReadBmp24(const std::string& name) {
    const Bytes b = ReadAll(name);
    Picture p;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || U16(b, 28) != 24 || I32(b, 30) != 0) return p;
    const int width = I32(b, 18), height = I32(b, 22);
    const size_t offset = size_t(I32(b, 10));
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    if (width <= 0 || height <= 0 || offset + stride * height > b.size()) return p;
    p.width = width;
    p.height = height;
    for (int y = 0; y < height; ++y) {
        const size_t row = offset + stride * size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const size_t at = row + size_t(x) * 3;
            p.pixels.push_back({b[at + 2], b[at + 1], b[at]});
        }
    }
    return p;
}

TEST(DialogPictures, PanelTextureIsALightGreyBrushedStrip) {
    const Picture t = ReadBmp24("panel_texture.bmp");
    ASSERT_EQ(t.width, 556);
    ASSERT_EQ(t.height, 20);
    double sum[3] = {};
    double across = 0, down = 0;  // mean neighbour differences
    for (int y = 0; y < t.height; ++y) {
        for (int x = 0; x < t.width; ++x) {
            const Rgb p = t.at(x, y);
            for (int c : {p.r, p.g, p.b}) {
                ASSERT_GE(c, 160);
                ASSERT_LE(c, 224);
            }
            sum[0] += p.r;
            sum[1] += p.g;
            sum[2] += p.b;
            if (x > 0) across += std::abs(p.g - t.at(x - 1, y).g);
            if (y > 0) down += std::abs(p.g - t.at(x, y - 1).g);
        }
    }
    const double n = double(t.width) * t.height;
    const double mean = (sum[0] + sum[1] + sum[2]) / (3 * n);
    EXPECT_NEAR(mean, 195.0, 3.0);
    EXPECT_GT(sum[0], sum[1]);  // red slightly the strongest
    EXPECT_GT(sum[0], sum[2]);
    EXPECT_LT(sum[0] / n - sum[2] / n, 10.0);
    // Streaks run across: neighbours in a row differ much less than rows do.
    EXPECT_LT(across / (n - t.height), 0.5 * down / (n - t.width));
}

TEST(DialogPictures, OptionMarksAreGreyAndBlueSquares) {
    const Picture off = ReadBmp24("mark_off.bmp");
    const Picture on = ReadBmp24("mark_on.bmp");
    ASSERT_EQ(off.width, 12);
    ASSERT_EQ(off.height, 12);
    ASSERT_EQ(on.width, 12);
    ASSERT_EQ(on.height, 12);
    for (int y = 2; y < 10; ++y) {
        for (int x = 2; x < 10; ++x) {
            const Rgb g = off.at(x, y), b = on.at(x, y);
            EXPECT_GE(g.r, 200);  // light grey inside
            EXPECT_LE(std::abs(g.r - g.b), 8);
            EXPECT_GE(b.b, b.r + 80);  // filled with blue
            EXPECT_GE(b.b, 150);
        }
    }
}

TEST(DialogPictures, HandCursorHasItsHotSpotOnTheFingertip) {
    const Bytes c = ReadAll("hand.cur");
    ASSERT_GE(c.size(), 22u + 40 + 8 + 128 + 128);
    EXPECT_EQ(U16(c, 2), 2u);  // cursor
    EXPECT_EQ(U16(c, 4), 1u);
    EXPECT_EQ(c[6], 32);
    EXPECT_EQ(c[7], 32);
    EXPECT_EQ(U16(c, 10), 12u);  // hot spot
    EXPECT_EQ(U16(c, 12), 10u);
    const size_t image = size_t(I32(c, 18));
    ASSERT_EQ(image, 22u);
    EXPECT_EQ(U16(c, image + 14), 1u);  // two colours
    // Masks are bottom-up, 4 bytes a row; AND bit 0 means drawn.
    const size_t andMask = image + 40 + 8 + 128;
    auto drawn = [&](int x, int y) { return !(c[andMask + size_t(31 - y) * 4 + x / 8] & (0x80 >> (x % 8))); };
    EXPECT_TRUE(drawn(12, 10));
    EXPECT_FALSE(drawn(12, 5));  // nothing above the fingertip
    EXPECT_FALSE(drawn(0, 0));
}

TEST(DialogPictures, IconIs32By32) {
    const Bytes i = ReadAll("ripplume.ico");
    ASSERT_GE(i.size(), 22u + 40);
    EXPECT_EQ(U16(i, 2), 1u);  // icon
    EXPECT_EQ(U16(i, 4), 1u);
    EXPECT_EQ(i[6], 32);
    EXPECT_EQ(i[7], 32);
    const size_t image = size_t(I32(i, 18));
    EXPECT_EQ(I32(i, image + 4), 32);
    EXPECT_EQ(I32(i, image + 8), 64);  // colour and mask halves
    EXPECT_EQ(size_t(I32(i, 14)) + image, i.size());
}

}  // namespace
