// Mouse drags stir the water: a pointer position maps to the grid cell under it.
#pragma once
#include <cstdint>

// The cell under the pointer (x, y in client pixels, row 0 at the top) for a
// viewport of the given size; false when the pointer is past the last cell.
bool MouseCell(std::uint16_t x, std::uint16_t y, int viewportWidth, int viewportHeight, int* column, int* row);

// Drops a ripple at the cell under the pointer, if there is one.
void MouseDrop(std::uint16_t x, std::uint16_t y, int viewportWidth, int viewportHeight);
