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

void InitWaterGrid();
void DropRipple(int column, int row);
void PropagateWaves();
