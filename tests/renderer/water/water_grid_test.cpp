#include "renderer/water/water_grid.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <utility>

#include "renderer/water/scene_settings.h"

namespace {

using Cell = std::pair<int, int>;  // (column, row)

double& H(int column, int row) {
    return Water.HeightGrid[column][row].y;
}
double& V(int column, int row) {
    return Water.VelocityGrid[column][row].y;
}

class WaterGridTest : public testing::Test {
protected:
    void SetUp() override {
        std::memset(&Water, 0, sizeof Water);
        InitSceneSettings();
        InitWaterGrid();
    }
};

// Points of the used 101 x 101 grid whose height is not 0.0.
std::set<Cell> DentedPoints() {
    std::set<Cell> dented;
    for (int c = 0; c <= 100; ++c) {
        for (int r = 0; r <= 100; ++r) {
            if (H(c, r) != 0.0) {
                dented.insert({c, r});
            }
        }
    }
    return dented;
}

// The dent of a drop well inside the grid, as offsets from its centre.
std::set<Cell> FullDent(int column, int row) {
    std::set<Cell> dent;
    for (int dr = -2; dr <= 1; ++dr) {
        for (int dc = -2; dc <= 1; ++dc) {
            dent.insert({column + dc, row + dr});
        }
    }
    dent.insert({column + 2, row});
    dent.insert({column - 1, row + 2});
    return dent;
}

bool IsBorder(int c, int r) {
    return c == 0 || c == 100 || r == 0 || r == 100;
}

TEST_F(WaterGridTest, LaysOutPointsEightTenthsApartFromMinusFortyPointFour) {
    const double origin = static_cast<double>(-40.4f);
    const double spacing = static_cast<double>(0.8f);
    EXPECT_EQ(Water.HeightGrid[0][0].x, origin);
    EXPECT_EQ(Water.HeightGrid[0][0].z, origin);
    EXPECT_EQ(Water.HeightGrid[100][7].x, 100 * spacing + origin);
    EXPECT_EQ(Water.HeightGrid[7][100].z, 100 * spacing + origin);
    EXPECT_NEAR(Water.HeightGrid[100][0].x, 39.6, 1e-5);
    EXPECT_EQ(Water.HeightGrid[3][5].x, Water.HeightGrid[3][99].x);  // x follows the column
    EXPECT_EQ(Water.HeightGrid[3][5].z, Water.HeightGrid[99][5].z);  // z follows the row
    // Capacity beyond the 101 x 101 points stays untouched.
    EXPECT_EQ(Water.HeightGrid[101][0].x, 0.0);
    EXPECT_EQ(Water.HeightGrid[0][101].z, 0.0);
}

TEST_F(WaterGridTest, FirstStepPullsEveryInteriorPointDownAndLeavesTheBorder) {
    PropagateWaves();
    // A height of +0.0 is pulled by +0.001, subtracted, then damped.
    const double expected = -0.001 * static_cast<double>(0.99f);
    for (int c = 0; c <= 100; ++c) {
        for (int r = 0; r <= 100; ++r) {
            if (IsBorder(c, r)) {
                ASSERT_EQ(H(c, r), 0.0) << c << "," << r;
                ASSERT_EQ(V(c, r), 0.0) << c << "," << r;
            } else {
                ASSERT_EQ(H(c, r), expected) << c << "," << r;
                ASSERT_EQ(V(c, r), expected) << c << "," << r;
            }
        }
    }
    EXPECT_NEAR(expected, -0.00099, 1e-10);
}

TEST_F(WaterGridTest, PullFollowsTheSignBitOfTheHeight) {
    // -0.0 is pulled upward like any negative height, +0.0 downward.
    H(50, 50) = -0.0;
    PropagateWaves();
    EXPECT_EQ(H(50, 50), 0.001 * static_cast<double>(0.99f));
    EXPECT_EQ(H(51, 50), -0.001 * static_cast<double>(0.99f));
}

TEST_F(WaterGridTest, DropThenOneStep) {
    DropRipple(50, 50);
    PropagateWaves();
    EXPECT_NEAR(H(50, 50), -1.99901, 5e-6);
    EXPECT_NEAR(V(50, 50), 0.00099, 5e-6);
    EXPECT_NEAR(H(52, 50), -0.67901, 5e-6);
    EXPECT_NEAR(V(52, 50), 1.32099, 5e-6);
    EXPECT_NEAR(H(53, 50), -0.33099, 5e-6);
    EXPECT_NEAR(V(53, 50), -0.33099, 5e-6);
    EXPECT_NEAR(H(50, 53), -0.33099, 5e-6);
    // The centre's six neighbours are all dented, so only the pull moved it.
    EXPECT_EQ(V(50, 50), 0.001 * static_cast<double>(0.99f));
}

TEST_F(WaterGridTest, DropDentsEighteenPointsFromRowFifteenOn) {
    for (int row = 15; row <= 97; ++row) {
        for (int column = 2; column <= 97; ++column) {
            DropRipple(column, row);
            const std::set<Cell> dented = DentedPoints();
            ASSERT_EQ(dented, FullDent(column, row)) << "centre " << column << "," << row;
            for (const Cell& cell : dented) {
                ASSERT_EQ(H(cell.first, cell.second), -2.0);
                H(cell.first, cell.second) = 0.0;
            }
        }
    }
}

TEST_F(WaterGridTest, DropMissesTheFarRingPointInRowsBelowFifteen) {
    // The radius-2 sample at 270 degrees truncates one row short here.
    for (int row = 2; row <= 14; ++row) {
        for (int column = 2; column <= 97; ++column) {
            DropRipple(column, row);
            std::set<Cell> expected = FullDent(column, row);
            expected.erase({column - 1, row + 2});
            const std::set<Cell> dented = DentedPoints();
            ASSERT_EQ(dented, expected) << "centre " << column << "," << row;
            for (const Cell& cell : dented) {
                H(cell.first, cell.second) = 0.0;
            }
        }
    }
}

TEST_F(WaterGridTest, DropsAtTheEdgesSkipSamplesOutsideTheGrid) {
    DropRipple(0, 0);
    EXPECT_EQ(DentedPoints(), (std::set<Cell>{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}}));

    SetUp();
    DropRipple(100, 50);
    EXPECT_EQ(
        DentedPoints(),
        (std::set<Cell>{{98, 48}, {98, 49}, {98, 50}, {98, 51}, {99, 48}, {99, 49}, {99, 50}, {99, 51}, {99, 52}}));

    // Samples landing exactly on column 100 or row 100 are outside too.
    SetUp();
    DropRipple(98, 98);
    std::set<Cell> expected = FullDent(98, 98);
    expected.erase({100, 98});
    expected.erase({97, 100});
    EXPECT_EQ(DentedPoints(), expected);

    SetUp();
    for (const Cell& centre :
         {Cell{-5, 50}, Cell{50, 300}, Cell{INT_MIN, INT_MIN}, Cell{INT_MAX, 50}, Cell{50, INT_MAX}, Cell{102, 102}}) {
        DropRipple(centre.first, centre.second);
        EXPECT_TRUE(DentedPoints().empty()) << centre.first << "," << centre.second;
    }
    // Nothing outside the used points is ever written.
    for (int c = 0; c < GridCapacity; ++c) {
        for (int r = 0; r < GridCapacity; ++r) {
            if (c > 100 || r > 100) {
                ASSERT_EQ(H(c, r), 0.0);
            }
        }
    }
}

TEST_F(WaterGridTest, DentedBorderPointsStayDentedWhileTheInteriorMoves) {
    DropRipple(0, 0);
    DropRipple(100, 100);  // touches only columns and rows 98 and 99
    for (int step = 0; step < 50; ++step) {
        PropagateWaves();
    }
    EXPECT_EQ(H(0, 0), -2.0);
    EXPECT_EQ(H(0, 1), -2.0);
    EXPECT_EQ(H(1, 0), -2.0);
    EXPECT_EQ(H(2, 0), -2.0);
    EXPECT_NE(H(1, 1), -2.0);
    for (int i = 0; i <= 100; ++i) {
        ASSERT_EQ(H(100, i), 0.0) << i;
        ASSERT_EQ(H(i, 100), 0.0) << i;
        ASSERT_EQ(V(100, i), 0.0) << i;
        ASSERT_EQ(V(i, 100), 0.0) << i;
        if (i > 2) {
            ASSERT_EQ(H(i, 0), 0.0) << i;
            ASSERT_EQ(H(0, i), 0.0) << i;
        }
    }
}

TEST_F(WaterGridTest, DropReplacesHeightsAndKeepsVelocities) {
    DropRipple(40, 60);
    for (int step = 0; step < 5; ++step) {
        PropagateWaves();
    }
    const double velocity = V(40, 60);
    ASSERT_NE(velocity, 0.0);
    DropRipple(40, 60);
    EXPECT_EQ(H(40, 60), -2.0);
    EXPECT_EQ(V(40, 60), velocity);

    // A second drop on the same centre leaves the grid as the first did.
    static WaterGrids once;
    std::memcpy(&once, &Water, sizeof Water);
    DropRipple(40, 60);
    EXPECT_EQ(std::memcmp(&once, &Water, sizeof Water), 0);
}

TEST_F(WaterGridTest, UndisturbedSurfaceStaysWithinFourHundredthsFor1500Steps) {
    double largest = 0.0;
    for (int step = 0; step < 1500; ++step) {
        PropagateWaves();
        for (int c = 1; c < 100; ++c) {
            for (int r = 1; r < 100; ++r) {
                largest = std::fmax(largest, std::fabs(H(c, r)));
            }
        }
    }
    EXPECT_LT(largest, 0.04);
    EXPECT_NEAR(largest, 0.031, 0.001);
}

// The x86-64 build's result for this run, bit for bit. The Windows build runs
// the same test under Wine, so a difference in the last bit of any step (x87
// intermediates, a fused multiply-add, another summation order) fails it.
TEST_F(WaterGridTest, StepsGiveTheSameDoublesOnEveryBuild) {
    DropRipple(30, 70);
    DropRipple(71, 22);
    for (int step = 0; step < 300; ++step) {
        PropagateWaves();
    }
    const auto digestOf = [](const GridPoint(&grid)[GridCapacity][GridCapacity]) {
        std::uint64_t digest = 1469598103934665603ull;
        for (int c = 0; c <= 100; ++c) {
            for (int r = 0; r <= 100; ++r) {
                std::uint64_t bits;
                std::memcpy(&bits, &grid[c][r].y, sizeof bits);
                digest = (digest ^ bits) * 1099511628211ull;
            }
        }
        return digest;
    };
    EXPECT_EQ(digestOf(Water.HeightGrid), 0x93335830f28733fdull) << std::hex << digestOf(Water.HeightGrid);
    // The velocities too: the step works them out in more than one place.
    EXPECT_EQ(digestOf(Water.VelocityGrid), 0xede4115affc47999ull) << std::hex << digestOf(Water.VelocityGrid);
}

}  // namespace
