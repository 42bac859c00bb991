// The water height field: a 101 x 101 grid of points that move up and down.
#pragma once

struct GridPoint {
    double x;
    double y;  // height (HeightGrid) or vertical velocity (VelocityGrid)
    double z;
};

constexpr int GridCapacity = 256;

// Both grids are indexed [column][row]; only 101 x 101 points are used.
struct WaterGrids {
    GridPoint HeightGrid[GridCapacity][GridCapacity];
    GridPoint VelocityGrid[GridCapacity][GridCapacity];
};

extern WaterGrids Water;

// The grids the functions below and the drawing work on: Water unless a
// renderer with several surfaces (one a monitor) makes another one current.
WaterGrids& CurrentWater();
void MakeWaterCurrent(WaterGrids* grids);  // null: Water again

void InitWaterGrid();
void DropRipple(int column, int row);
void PropagateWaves();
