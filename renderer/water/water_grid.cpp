#include "renderer/water/water_grid.h"

#include <cmath>

#include "renderer/water/scene_settings.h"

WaterGrids Water;

namespace {
WaterGrids* Current = &Water;
}  // namespace

WaterGrids& CurrentWater() {
    return *Current;
}

void MakeWaterCurrent(WaterGrids* grids) {
    Current = grids ? grids : &Water;
}

namespace {

// Not pi/180: the drop's angle step is taken with this single-precision factor,
// and the shape of the dent (which points it touches) depends on it.
constexpr float DropDegreesToRadians = 0.01745f;

// Each step pulls every interior point this much toward the rest height.
constexpr double RestPull = 0.001;

// The pull with the sign bit of the height, as copysign(RestPull, h) gives it
// (-0.0 is pulled up like a negative height), indexed by std::signbit. The
// 32-bit build assembles std::copysign's result in memory from two halves and
// stalls on reading it back at every point; a table lookup does not.
const double SignedRestPull[2] = {RestPull, -RestPull};

// One column of velocities, rows 1 to endRow - 1: the push of the six
// neighbours' heights, then the pull toward rest and the damping, in that
// order and in double precision.
void UpdateVelocities(int c, int endRow, double damping) {
    const GridPoint(&h)[GridCapacity][GridCapacity] = Current->HeightGrid;
    GridPoint(&v)[GridCapacity][GridCapacity] = Current->VelocityGrid;
    // Rows run innermost: a column's points lie next to each other in memory.
    for (int r = 1; r < endRow; ++r) {
        const double sum =
            h[c][r - 1].y + h[c][r + 1].y + h[c - 1][r - 1].y + h[c - 1][r].y + h[c + 1][r].y + h[c + 1][r + 1].y;
        const double pushed = v[c][r].y - (h[c][r].y - sum / 6.0);
        v[c][r].y = (pushed - SignedRestPull[std::signbit(h[c][r].y)]) * damping;
    }
}

// One column of heights, moved by the velocities just computed.
void MoveHeights(int c, int endRow) {
    GridPoint(&h)[GridCapacity][GridCapacity] = Current->HeightGrid;
    const GridPoint(&v)[GridCapacity][GridCapacity] = Current->VelocityGrid;
    for (int r = 1; r < endRow; ++r) {
        h[c][r].y = h[c][r].y + v[c][r].y;
    }
}

}  // namespace

void InitWaterGrid() {
    // Formed once in single precision; positions are then worked out in doubles.
    const float spacing = 2.0f * Scene.GridHalfSpacing;
    const float originX = -Scene.GridPointsX * Scene.GridHalfSpacing;
    const float originZ = -Scene.GridPointsZ * Scene.GridHalfSpacing;

    for (int row = 0; static_cast<float>(row) < Scene.GridPointsZ; ++row) {
        for (int column = 0; static_cast<float>(column) < Scene.GridPointsX; ++column) {
            GridPoint& point = Current->HeightGrid[column][row];
            point.x = column * static_cast<double>(spacing) + originX;
            point.y = 0.0;
            point.z = row * static_cast<double>(spacing) + originZ;
            Current->VelocityGrid[column][row] = point;
        }
    }
}

void DropRipple(int column, int row) {
    const float lastX = Scene.GridPointsX - 1.0f;
    const float lastZ = Scene.GridPointsZ - 1.0f;

    for (float radius = 1.0f; radius <= 2.0f; radius += 1.0f) {
        for (float angle = 0.0f; angle < 360.0f; angle += 10.0f) {
            const float radians = angle * DropDegreesToRadians;
            const float px = static_cast<float>(column + radius * std::cos(static_cast<double>(radians)));
            const float pz = static_cast<float>(row - radius * std::sin(static_cast<double>(radians)));
            // Checked before truncating, so any centre is safe.
            if (px >= 0.0f && px < lastX && pz >= 0.0f && pz < lastZ) {
                Current->HeightGrid[static_cast<int>(px)][static_cast<int>(pz)].y = -Scene.DropDepth;
            }
        }
    }
}

void PropagateWaves() {
    const float lastX = Scene.GridPointsX - 1.0f;
    const float lastZ = Scene.GridPointsZ - 1.0f;
    const double damping = Scene.WaveDamping;

    // The rows that the float comparison admits, counted once: converting the
    // index to float at every point costs about a quarter of the step.
    int endRow = 1;
    while (static_cast<float>(endRow) < lastZ) {
        ++endRow;
    }

    // Every velocity must see the old heights. Column c's velocities read the
    // heights of columns c - 1 to c + 1, so column c - 1 can take its new
    // heights as soon as column c has its velocities: one sweep instead of two,
    // with each column still in the cache when its heights move.
    int c = 1;
    for (; static_cast<float>(c) < lastX; ++c) {
        UpdateVelocities(c, endRow, damping);
        if (c > 1) {
            MoveHeights(c - 1, endRow);
        }
    }
    if (c > 1) {
        MoveHeights(c - 1, endRow);
    }
}
