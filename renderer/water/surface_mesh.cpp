#include "renderer/water/surface_mesh.h"

#include <cstddef>

namespace {

// One bit a side of the view volume the point lies beyond.
unsigned OutsideSides(const float m[16], float x, float y, float z) {
    const float cx = m[0] * x + m[4] * y + m[8] * z + m[12];
    const float cy = m[1] * x + m[5] * y + m[9] * z + m[13];
    const float cz = m[2] * x + m[6] * y + m[10] * z + m[14];
    const float cw = m[3] * x + m[7] * y + m[11] * z + m[15];
    return (cx < -cw ? 1u : 0u) | (cx > cw ? 2u : 0u) | (cy < -cw ? 4u : 0u) | (cy > cw ? 8u : 0u) |
           (cz < -cw ? 16u : 0u) | (cz > cw ? 32u : 0u);
}

}  // namespace

void BuildSurfaceMesh(const WaterGrids& water, int columns, int rows, float scroll, const float clip[16],
                      SurfaceMesh& mesh) {
    const float du = 1.0f / static_cast<float>(columns);
    const float dv = 1.0f / static_cast<float>(rows);
    const std::size_t points = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    mesh.Positions.resize(points * 3);
    mesh.TexCoords.resize(points * 2);
    mesh.Indices.clear();
    std::vector<unsigned> sides(points);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * columns + c;
            const GridPoint& point = water.HeightGrid[c][r];
            float* position = &mesh.Positions[i * 3];
            position[0] = static_cast<float>(point.x);
            position[1] = static_cast<float>(point.y);
            position[2] = static_cast<float>(point.z);
            mesh.TexCoords[i * 2] = c * du + scroll;
            mesh.TexCoords[i * 2 + 1] = r * dv;
            sides[i] = OutsideSides(clip, position[0], position[1], position[2]);
        }
    }
    for (int r = 0; r + 1 < rows; ++r) {
        for (int c = 0; c + 1 < columns; ++c) {
            const unsigned near0 = static_cast<unsigned>(r * columns + c);
            const unsigned near1 = near0 + 1;
            const unsigned far0 = near0 + static_cast<unsigned>(columns);
            const unsigned far1 = far0 + 1;
            if ((sides[near0] & sides[near1] & sides[far0] & sides[far1]) != 0) continue;
            mesh.Indices.insert(mesh.Indices.end(), {near0, near1, far0, far1, far0, near1});
        }
    }
}
