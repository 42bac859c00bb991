#include "host/common/twips.h"

#include <gtest/gtest.h>

namespace {

TEST(Twips, PixelsAtTheCommonResolutions) {
    struct Case {
        int dpi, width, height, ring;
    };
    // The dialog's inner area (7425 x 3690 twips) and the button ring (60 twips).
    for (const Case c : {Case{96, 495, 246, 4}, {120, 619, 308, 5}, {144, 743, 369, 6}, {192, 990, 492, 8}}) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(TwipsToPixels(7425, c.dpi), c.width);
        EXPECT_EQ(TwipsToPixels(3690, c.dpi), c.height);
        EXPECT_EQ(TwipsToPixels(60, c.dpi), c.ring);
        EXPECT_EQ(TwipsToPixels(0, c.dpi), 0);
    }
    EXPECT_EQ(TwipsToPixels(1440, 96), 96);  // an inch is dpi pixels
    EXPECT_EQ(TwipsToPixels(1440, 144), 144);
}

TEST(Twips, RoundsToTheNearestPixelHalvesAwayFromZero) {
    EXPECT_EQ(TwipsToPixels(7, 96), 0);    // 0.47
    EXPECT_EQ(TwipsToPixels(8, 96), 1);    // 0.53
    EXPECT_EQ(TwipsToPixels(5, 144), 1);   // 0.5
    EXPECT_EQ(TwipsToPixels(4, 144), 0);   // 0.4
    EXPECT_EQ(TwipsToPixels(15, 144), 2);  // 1.5
    EXPECT_EQ(TwipsToPixels(6, 120), 1);   // 0.5
    EXPECT_EQ(TwipsToPixels(18, 120), 2);  // 1.5
    EXPECT_EQ(TwipsToPixels(17, 120), 1);  // 1.42
    EXPECT_EQ(TwipsToPixels(-7, 96), 0);
    EXPECT_EQ(TwipsToPixels(-8, 96), -1);
    EXPECT_EQ(TwipsToPixels(-5, 144), -1);  // -0.5
    EXPECT_EQ(TwipsToPixels(-4, 144), 0);
    EXPECT_EQ(TwipsToPixels(-15, 144), -2);
    EXPECT_EQ(TwipsToPixels(-6, 120), -1);
}

TEST(Twips, NegativeValuesMirrorPositiveOnes) {
    for (int dpi : {72, 96, 110, 120, 144, 168, 192})
        for (int t = 0; t <= 5000; ++t) {
            ASSERT_EQ(TwipsToPixels(-t, dpi), -TwipsToPixels(t, dpi)) << t << " twips at " << dpi;
            ASSERT_EQ(PixelsToTwips(-t, dpi), -PixelsToTwips(t, dpi)) << t << " pixels at " << dpi;
        }
}

TEST(Twips, PixelsToTwipsAndBack) {
    EXPECT_EQ(PixelsToTwips(495, 96), 7425);
    EXPECT_EQ(PixelsToTwips(1, 96), 15);
    EXPECT_EQ(PixelsToTwips(1, 120), 12);
    EXPECT_EQ(PixelsToTwips(1, 144), 10);
    EXPECT_EQ(PixelsToTwips(-1, 144), -10);
    EXPECT_EQ(PixelsToTwips(1, 168), 9);   // 8.57
    EXPECT_EQ(PixelsToTwips(3, 168), 26);  // 25.7
    // A pixel is more than a twip at any real resolution, so no pixel is lost
    // on the way through twips.
    for (int dpi : {72, 96, 110, 120, 144, 168, 192, 240})
        for (int px = -3000; px <= 3000; ++px)
            ASSERT_EQ(TwipsToPixels(PixelsToTwips(px, dpi), dpi), px) << px << " pixels at " << dpi;
}

TEST(Twips, LargeValuesDoNotOverflow) {
    // twips x dpi is beyond 32 bits here.
    EXPECT_EQ(TwipsToPixels(2000000000, 144), 200000000);
    EXPECT_EQ(TwipsToPixels(-2000000000, 144), -200000000);
    EXPECT_EQ(PixelsToTwips(100000000, 96), 1500000000);
}

}  // namespace
