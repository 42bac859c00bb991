#include "host/dialog/dialog_art.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

TEST(DialogGradient, RowsOfA246PixelInnerArea) {
    const std::vector<GradientRow> rows = GradientRows(246);
    ASSERT_EQ(rows.size(), 247u);  // 0 .. 246 inclusive
    struct Expected {
        int y, level;
    };
    // Rows 109 and 164 tell the gradient's 3.142 from true pi (216 and 191 with pi).
    for (const Expected e :
         {Expected{0, 0}, {10, 28}, {61, 155}, {109, 217}, {123, 220}, {124, 220}, {164, 190}, {200, 122}, {246, 0}}) {
        SCOPED_TRACE(e.y);
        EXPECT_EQ(rows[e.y].Red, e.level);
        EXPECT_EQ(rows[e.y].Green, e.level);
        EXPECT_EQ(rows[e.y].Blue, e.level + 30);
    }
}

TEST(DialogGradient, RisesToTheMiddleAndFallsBack) {
    const std::vector<GradientRow> rows = GradientRows(246);
    for (size_t y = 1; y < rows.size(); ++y) {
        SCOPED_TRACE(y);
        EXPECT_EQ(rows[y].Blue, rows[y].Red + 30);
        if (y <= 123) {
            EXPECT_GE(rows[y].Red, rows[y - 1].Red);
        }
        if (y > 124) {
            EXPECT_LE(rows[y].Red, rows[y - 1].Red);
        }
    }
}

TEST(DialogGradient, NoInnerAreaGivesNoRows) {
    EXPECT_TRUE(GradientRows(0).empty());
    EXPECT_TRUE(GradientRows(-3).empty());
    EXPECT_EQ(GradientRows(1).size(), 2u);
}

TEST(DialogTiling, PanelGetsTwoColumnsOfTenCopies) {
    std::vector<std::pair<int, int>> expected;
    for (int x : {0, 556})
        for (int y = 0; y <= 180; y += 20) expected.emplace_back(x, y);
    std::vector<std::pair<int, int>> got;
    for (const TileSpot& s : TilePositions(556, 20, 469, 165)) got.emplace_back(s.X, s.Y);
    EXPECT_EQ(got, expected);
}

TEST(DialogTiling, EveryPixelOfTheSurfaceIsCovered) {
    struct Case {
        int tileW, tileH, w, h;
    };
    for (const Case c : {Case{556, 20, 469, 165},
                         {556, 20, 556, 20},
                         {556, 20, 1200, 41},
                         {7, 3, 20, 9},
                         {1, 1, 3, 2},
                         {556, 20, 1, 1}}) {
        SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h);
        const std::vector<TileSpot> spots = TilePositions(c.tileW, c.tileH, c.w, c.h);
        std::vector<bool> covered(size_t(c.w) * c.h, false);
        for (const TileSpot& s : spots)
            for (int y = s.Y; y < s.Y + c.tileH && y < c.h; ++y)
                for (int x = s.X; x < s.X + c.tileW && x < c.w; ++x) covered[size_t(y) * c.w + x] = true;
        for (size_t i = 0; i < covered.size(); ++i) ASSERT_TRUE(covered[i]) << "pixel " << i;
        // Copies start on the strip's grid, each place once.
        std::set<std::pair<int, int>> places;
        for (const TileSpot& s : spots) {
            EXPECT_EQ(s.X % c.tileW, 0);
            EXPECT_EQ(s.Y % c.tileH, 0);
            EXPECT_TRUE(places.emplace(s.X, s.Y).second);
        }
    }
}

TEST(DialogTiling, ColumnsEndBelowTheEdgeEvenWhenTheStripFitsExactly) {
    // The walk only moves on once a copy lies wholly past the edge.
    std::vector<std::pair<int, int>> got;
    for (const TileSpot& s : TilePositions(556, 20, 556, 20)) got.emplace_back(s.X, s.Y);
    const std::vector<std::pair<int, int>> expected = {{0, 0},    {0, 20},   {0, 40},    {556, 0},  {556, 20},
                                                       {556, 40}, {1112, 0}, {1112, 20}, {1112, 40}};
    EXPECT_EQ(got, expected);
}

TEST(DialogTiling, AStripWithoutAreaPlacesNothing) {
    EXPECT_TRUE(TilePositions(0, 20, 469, 165).empty());
    EXPECT_TRUE(TilePositions(556, 0, 469, 165).empty());
    EXPECT_TRUE(TilePositions(-1, 20, 469, 165).empty());
}

TEST(DialogLayout, TwipsBecomePixelsAt15PerPixel) {
    EXPECT_EQ(TwipsToPixels(7425, 96), 495);
    EXPECT_EQ(TwipsToPixels(3690, 96), 246);
    EXPECT_EQ(TwipsToPixels(7, 96), 0);
    EXPECT_EQ(TwipsToPixels(8, 96), 1);
    EXPECT_EQ(TwipsToPixels(-7, 96), 0);
    EXPECT_EQ(TwipsToPixels(-8, 96), -1);
    const PixelRect panel = TwipsRect(180, 240, 7035, 2475, 96);
    EXPECT_EQ(panel.Left, 12);
    EXPECT_EQ(panel.Top, 16);
    EXPECT_EQ(panel.Width, 469);
    EXPECT_EQ(panel.Height, 165);
}

TEST(DialogLayout, ControlsGrowWithTheDisplayResolution) {
    const PixelRect at120 = TwipsRect(180, 240, 7035, 2475, 120);
    EXPECT_EQ(at120.Left, 15);
    EXPECT_EQ(at120.Top, 20);
    EXPECT_EQ(at120.Width, 586);   // 586.25
    EXPECT_EQ(at120.Height, 206);  // 206.25
    const PixelRect at144 = TwipsRect(180, 240, 7035, 2475, 144);
    EXPECT_EQ(at144.Left, 18);
    EXPECT_EQ(at144.Top, 24);
    EXPECT_EQ(at144.Width, 704);   // 703.5
    EXPECT_EQ(at144.Height, 248);  // 247.5
    const PixelRect set = TwipsRect(4740, 3000, 1215, 375, 144);
    EXPECT_EQ(set.Left, 474);
    EXPECT_EQ(set.Top, 300);
    EXPECT_EQ(set.Width, 122);
    EXPECT_EQ(set.Height, 38);
}

TEST(DialogLayout, WindowIsCentredAcrossAndAThirdDown) {
    const PixelPoint p = DialogOrigin(1024, 768, 501, 272, 96);
    EXPECT_EQ(p.X, 261);  // 7845 twips / 2 = 3922 -> 261.5 px is never reached
    EXPECT_EQ(p.Y, 165);  // 7440 / 3 = 2480 twips
    const PixelPoint big = DialogOrigin(1024, 768, 749, 395, 144);
    EXPECT_EQ(big.X, 138);  // 2750 twips / 2 = 1375 = 137.5 px
    EXPECT_EQ(big.Y, 124);  // 3730 / 3 = 1243 twips
}

TEST(DialogLayout, PlacementDividesTwipsNotPixels) {
    // 2 pixels of room: 30 twips / 3 = 10 twips, which is nearer 1 pixel than 0.
    EXPECT_EQ(DialogOrigin(502, 302, 500, 300, 96).Y, 1);
    EXPECT_EQ(DialogOrigin(502, 302, 500, 300, 96).X, 1);
    // 1 pixel of room: 15 / 2 = 7 twips (toward zero) -> 0 pixels.
    EXPECT_EQ(DialogOrigin(501, 301, 500, 300, 96).X, 0);
    // At 144 dpi the pixel is 10 twips: 10 / 2 = 5 twips, half a pixel -> 1.
    EXPECT_EQ(DialogOrigin(501, 301, 500, 300, 144).X, 1);
    EXPECT_EQ(DialogOrigin(501, 301, 500, 300, 144).Y, 0);  // 10 / 3 = 3 twips
}

TEST(DialogLayout, WindowLargerThanTheScreenGoesUpAndLeft) {
    const PixelPoint p = DialogOrigin(640, 480, 700, 500, 96);
    EXPECT_EQ(p.X, -30);  // -900 twips / 2
    EXPECT_EQ(p.Y, -7);   // -300 / 3 = -100 twips = -6.7 px
    const PixelPoint q = DialogOrigin(640, 480, 700, 500, 144);
    EXPECT_EQ(q.X, -30);  // -600 twips / 2
    EXPECT_EQ(q.Y, -7);   // -200 / 3 = -66 twips = -6.6 px
}

}  // namespace
