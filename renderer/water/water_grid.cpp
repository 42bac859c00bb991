#include "renderer/water/water_grid.h"

#include <cmath>

#include "renderer/water/scene_settings.h"

WaterGrids Water;

namespace {

// Not pi/180: the drop's angle step is taken with this single-precision factor,
// and the shape of the dent (which points it touches) depends on it.
constexpr float DropDegreesToRadians = 0.01745f;

// Each step pulls every interior point this much toward the rest height.
constexpr double RestPull = 0.001;

}  // namespace

void InitWaterGrid()
{
    // Formed once in single precision; positions are then worked out in doubles.
    const float spacing = 2.0f * Scene.GridHalfSpacing;
    const float originX = -Scene.GridPointsX * Scene.GridHalfSpacing;
    const float originZ = -Scene.GridPointsZ * Scene.GridHalfSpacing;

    for (int row = 0; static_cast<float>(row) < Scene.GridPointsZ; ++row) {
        for (int column = 0; static_cast<float>(column) < Scene.GridPointsX; ++column) {
            GridPoint& point = Water.HeightGrid[column][row];
            point.x = column * static_cast<double>(spacing) + originX;
            point.y = 0.0;
            point.z = row * static_cast<double>(spacing) + originZ;
            Water.VelocityGrid[column][row] = point;
        }
    }
}

void DropRipple(int column, int row)
{
    const float lastX = Scene.GridPointsX - 1.0f;
    const float lastZ = Scene.GridPointsZ - 1.0f;

    for (float radius = 1.0f; radius <= 2.0f; radius += 1.0f) {
        for (float angle = 0.0f; angle < 360.0f; angle += 10.0f) {
            const float radians = angle * DropDegreesToRadians;
            const float px = static_cast<float>(column + radius * std::cos(static_cast<double>(radians)));
            const float pz = static_cast<float>(row - radius * std::sin(static_cast<double>(radians)));
            // Checked before truncating, so any centre is safe.
            if (px >= 0.0f && px < lastX && pz >= 0.0f && pz < lastZ) {
                Water.HeightGrid[static_cast<int>(px)][static_cast<int>(pz)].y = -Scene.DropDepth;
            }
        }
    }
}

void PropagateWaves()
{
    const float lastX = Scene.GridPointsX - 1.0f;
    const float lastZ = Scene.GridPointsZ - 1.0f;
    const double damping = Scene.WaveDamping;
    GridPoint (&h)[GridCapacity][GridCapacity] = Water.HeightGrid;
    GridPoint (&v)[GridCapacity][GridCapacity] = Water.VelocityGrid;

    // Velocities first, over the whole grid, so every point sees the old heights.
    // Within a pass no point reads what another point writes, so the visiting
    // order does not change the result; rows run innermost because a column's
    // points lie next to each other in memory.
    for (int c = 1; static_cast<float>(c) < lastX; ++c) {
        for (int r = 1; static_cast<float>(r) < lastZ; ++r) {
            const double sum = h[c][r - 1].y + h[c][r + 1].y + h[c - 1][r - 1].y
                               + h[c - 1][r].y + h[c + 1][r].y + h[c + 1][r + 1].y;
            v[c][r].y = v[c][r].y - (h[c][r].y - sum / 6.0);
        }
    }

    for (int c = 1; static_cast<float>(c) < lastX; ++c) {
        for (int r = 1; static_cast<float>(r) < lastZ; ++r) {
            v[c][r].y = (v[c][r].y - std::copysign(RestPull, h[c][r].y)) * damping;
            h[c][r].y = h[c][r].y + v[c][r].y;
        }
    }
}
