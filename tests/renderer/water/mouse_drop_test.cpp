#include "renderer/water/mouse_drop.h"

#include <gtest/gtest.h>

#include <cstring>

#include "renderer/water/scene_settings.h"
#include "renderer/water/water_grid.h"

namespace {

class MouseDropTest : public testing::Test {
protected:
    void SetUp() override {
        std::memset(&Water, 0, sizeof Water);
        InitSceneSettings();
        InitWaterGrid();
    }

    static bool Cell(unsigned x, unsigned y, int width, int height, int* column, int* row) {
        *column = -1;
        *row = -1;
        return MouseCell(static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), width, height, column, row);
    }
};

TEST_F(MouseDropTest, MapsPixelsToCellsOfTheFullScreen) {
    int column;
    int row;
    ASSERT_TRUE(Cell(0, 0, 1024, 768, &column, &row));
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 0);

    // A cell is 1024 / 101 = 10.1386 by 768 / 101 = 7.6040 pixels.
    ASSERT_TRUE(Cell(10, 7, 1024, 768, &column, &row));
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 0);
    ASSERT_TRUE(Cell(11, 8, 1024, 768, &column, &row));
    EXPECT_EQ(column, 1);
    EXPECT_EQ(row, 1);
    ASSERT_TRUE(Cell(1013, 760, 1024, 768, &column, &row));
    EXPECT_EQ(column, 99);
    EXPECT_EQ(row, 99);
}

TEST_F(MouseDropTest, PointerPastTheLastCellDropsNothing) {
    int column;
    int row;
    EXPECT_FALSE(Cell(1014, 0, 1024, 768, &column, &row));  // column 100
    EXPECT_FALSE(Cell(1023, 0, 1024, 768, &column, &row));
    EXPECT_FALSE(Cell(0, 761, 1024, 768, &column, &row));  // row 100
    EXPECT_FALSE(Cell(0, 767, 1024, 768, &column, &row));
    EXPECT_FALSE(Cell(65535, 65535, 1024, 768, &column, &row));

    MouseDrop(1023, 384, 1024, 768);
    MouseDrop(512, 767, 1024, 768);
    for (int c = 0; c <= 100; ++c) {
        for (int r = 0; r <= 100; ++r) {
            ASSERT_EQ(Water.HeightGrid[c][r].y, 0.0) << c << "," << r;
        }
    }
}

TEST_F(MouseDropTest, TheLastCellEndsExactlyAtColumnAndRowHundred) {
    // In a 101 x 101 viewport a cell is one pixel, so pixel 100 lands exactly
    // on the bound, which is outside; at twice the size, pixel 200 does.
    int column;
    int row;
    ASSERT_TRUE(Cell(99, 99, 101, 101, &column, &row));
    EXPECT_EQ(column, 99);
    EXPECT_EQ(row, 99);
    EXPECT_FALSE(Cell(100, 0, 101, 101, &column, &row));
    EXPECT_FALSE(Cell(0, 100, 101, 101, &column, &row));
    ASSERT_TRUE(Cell(199, 199, 202, 202, &column, &row));
    EXPECT_EQ(column, 99);
    EXPECT_FALSE(Cell(200, 0, 202, 202, &column, &row));
    EXPECT_FALSE(Cell(0, 200, 202, 202, &column, &row));
}

TEST_F(MouseDropTest, AZeroSizedViewportDropsNothing) {
    // A minimised window reports a 0 x 0 client area.
    int column;
    int row;
    EXPECT_FALSE(Cell(0, 0, 0, 1, &column, &row));
    EXPECT_FALSE(Cell(5, 5, 0, 0, &column, &row));
    EXPECT_FALSE(Cell(5, 5, 1024, 0, &column, &row));
}

TEST_F(MouseDropTest, DropsAtTheColumnAlongXAndTheRowAlongZ) {
    // Cell (60, 20) of a 1024 x 768 viewport.
    MouseDrop(612, 155, 1024, 768);
    EXPECT_EQ(Water.HeightGrid[60][20].y, -2.0);
    EXPECT_EQ(Water.HeightGrid[62][20].y, -2.0);
    EXPECT_EQ(Water.HeightGrid[20][60].y, 0.0);

    // The top left pixel drops at the grid's first point.
    MouseDrop(0, 0, 1024, 768);
    EXPECT_EQ(Water.HeightGrid[0][0].y, -2.0);
    EXPECT_EQ(Water.HeightGrid[2][0].y, -2.0);
}

}  // namespace
