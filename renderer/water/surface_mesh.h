// The water surface as indexed triangle lists: one vertex a grid point, two
// triangles a cell, and only the cells the camera can see.
#pragma once
#include <vector>

#include "renderer/water/water_grid.h"

struct SurfaceMesh {
    std::vector<float> Positions;   // x, y, z per grid point, row by row
    std::vector<float> TexCoords;   // s, t per grid point
    std::vector<unsigned> Indices;  // three per triangle, cells in row order
};

// Fills mesh from the water's heights for a columns x rows grid, the picture
// shifted right by scroll. A cell wholly beyond one side of the view volume
// (clip: projection times model-view, column-major as OpenGL keeps it) gets
// no triangles; the rest keep the order a row-by-row walk gives them.
void BuildSurfaceMesh(const WaterGrids& water, int columns, int rows, float scroll, const float clip[16],
                      SurfaceMesh& mesh);
