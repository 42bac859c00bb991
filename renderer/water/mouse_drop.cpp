#include "renderer/water/mouse_drop.h"

#include "renderer/water/scene_settings.h"
#include "renderer/water/water_grid.h"

namespace {

// Truncates a cell coordinate when it lies in 0 .. last - 1 after truncation.
// The range is checked on the float first, so a zero-sized viewport (an
// infinite or NaN quotient) drops nothing instead of overflowing the conversion.
bool CellIndex(float position, float last, int* index) {
    if (!(position > -1.0f && position < last)) {
        return false;
    }
    *index = static_cast<int>(position);
    return true;
}

}  // namespace

bool MouseCell(std::uint16_t x, std::uint16_t y, int viewportWidth, int viewportHeight, int* column, int* row) {
    const float cellWidth = viewportWidth / Scene.GridPointsX;
    const float cellHeight = viewportHeight / Scene.GridPointsZ;
    const float px = static_cast<float>(x) / cellWidth;
    const float pz = static_cast<float>(y) / cellHeight;
    return CellIndex(px, Scene.GridPointsX - 1.0f, column) && CellIndex(pz, Scene.GridPointsZ - 1.0f, row);
}

void MouseDrop(std::uint16_t x, std::uint16_t y, int viewportWidth, int viewportHeight) {
    int column = 0;
    int row = 0;
    if (MouseCell(x, y, viewportWidth, viewportHeight, &column, &row)) {
        DropRipple(column, row);
    }
}
