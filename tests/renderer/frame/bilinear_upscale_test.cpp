#include "renderer/frame/bilinear_upscale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

struct Picture {
    int Width, Height;
    std::vector<uint8_t> Bytes;
    Picture(int width, int height) : Width(width), Height(height), Bytes(size_t(width) * height * 4) {}
    PixelRows Rows() { return {Bytes.data(), ptrdiff_t(Width) * 4, Width, Height}; }
    PixelRows RowsBottomUp() {
        return {Bytes.data() + ptrdiff_t(Height - 1) * Width * 4, -ptrdiff_t(Width) * 4, Width, Height};
    }
    uint8_t At(int x, int y, int c) const { return Bytes[(size_t(y) * Width + x) * 4 + c]; }
};

Picture Noise(int width, int height, unsigned seed) {
    Picture picture(width, height);
    std::srand(seed);
    for (uint8_t& byte : picture.Bytes) byte = uint8_t(std::rand());
    return picture;
}

// Bilinear filtering in doubles, pixel centres on pixel centres, edges repeated.
double Reference(const Picture& source, int targetWidth, int targetHeight, int x, int y, int c) {
    const auto position = [](int i, int to, int from) {
        return std::min(std::max((i + 0.5) * from / to - 0.5, 0.0), from - 1.0);
    };
    const double sx = position(x, targetWidth, source.Width), sy = position(y, targetHeight, source.Height);
    const int x0 = int(sx), y0 = int(sy);
    const int x1 = std::min(x0 + 1, source.Width - 1), y1 = std::min(y0 + 1, source.Height - 1);
    const double fx = sx - x0, fy = sy - y0;
    const double upper = source.At(x0, y0, c) * (1 - fx) + source.At(x1, y0, c) * fx;
    const double lower = source.At(x0, y1, c) * (1 - fx) + source.At(x1, y1, c) * fx;
    return upper * (1 - fy) + lower * fy;
}

TEST(BilinearUpscale, MatchesBilinearFilteringAtOddSizesAndEdges) {
    struct Size {
        int sw, sh, tw, th;
    };
    for (const Size s : {Size{3, 2, 7, 5},
                         {1, 1, 4, 3},
                         {5, 1, 9, 2},
                         {1, 6, 3, 11},
                         {17, 9, 34, 18},
                         {13, 7, 13, 7},
                         {641, 361, 1280, 721}}) {
        SCOPED_TRACE(testing::Message() << s.sw << "x" << s.sh << " to " << s.tw << "x" << s.th);
        Picture source = Noise(s.sw, s.sh, unsigned(s.sw * 31 + s.th));
        Picture fast(s.tw, s.th), plain(s.tw, s.th);
        UpscaleBilinear(source.Rows(), fast.Rows());
        UpscaleBilinearPlain(source.Rows(), plain.Rows());
        ASSERT_EQ(fast.Bytes, plain.Bytes);
        double worst = 0;
        for (int y = 0; y < s.th; ++y)
            for (int x = 0; x < s.tw; ++x)
                for (int c = 0; c < 4; ++c)
                    worst = std::max(worst, std::abs(plain.At(x, y, c) - Reference(source, s.tw, s.th, x, y, c)));
        // Positions and weights in 1/128ths: within 3 levels of exact filtering
        // even where neighbours differ by 255.
        EXPECT_LE(worst, 3.0);
        // The corners are the source's corners.
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(plain.At(0, 0, c), source.At(0, 0, c));
            EXPECT_EQ(plain.At(s.tw - 1, s.th - 1, c), source.At(s.sw - 1, s.sh - 1, c));
        }
        if (s.sw == s.tw && s.sh == s.th) {
            EXPECT_EQ(plain.Bytes, source.Bytes);
        }
    }
}

TEST(BilinearUpscale, ABottomUpSourceComesOutTopDown) {
    Picture source = Noise(6, 4, 7);
    Picture flipped(6, 4);
    for (int y = 0; y < 4; ++y) std::copy_n(&source.Bytes[size_t(y) * 24], 24, &flipped.Bytes[size_t(3 - y) * 24]);
    Picture straight(11, 9), fromFlipped(11, 9), plain(11, 9);
    UpscaleBilinear(source.Rows(), straight.Rows());
    UpscaleBilinear(flipped.RowsBottomUp(), fromFlipped.Rows());
    UpscaleBilinearPlain(flipped.RowsBottomUp(), plain.Rows());
    EXPECT_EQ(fromFlipped.Bytes, straight.Bytes);
    EXPECT_EQ(plain.Bytes, straight.Bytes);
}

}  // namespace
