// The settings dialog's drawing and placement arithmetic, apart from Win32:
// the background gradient, where the panel texture is copied, and the
// conversion of the dialog's twips layout into pixels at the display's
// resolution (dpi, dots per inch), so the whole dialog scales as one.
#pragma once
#include <cstdint>
#include <vector>

#include "host/common/twips.h"

struct PixelRect {
    int Left, Top, Width, Height;
};

// A control's rectangle: left, top, width, height in twips -> pixels.
PixelRect TwipsRect(int left, int top, int width, int height, int dpi);

struct GradientRow {
    uint8_t Red, Green, Blue;
};

// Form_Resize: one colour per row y = 0 .. innerHeight inclusive (the last
// row lies just below the inner area): v = |sin(y / k) * 220| with
// k = innerHeight / 3.142, rounded halves to even; colour (v, v, v + 30).
// A height of 0 or less gives no rows.
std::vector<GradientRow> GradientRows(int innerHeight);

struct TileSpot {
    int X, Y;
};

// TilePanel: where copies of a tileWidth x tileHeight strip go to cover a
// surfaceWidth x surfaceHeight surface, column by column from the top left.
// Each column ends with one copy below the bottom edge and the last column
// starts beyond the right edge (those copies are clipped). A strip with no
// area gives no copies.
std::vector<TileSpot> TilePositions(int tileWidth, int tileHeight, int surfaceWidth, int surfaceHeight);

struct PixelPoint {
    int X, Y;
};

// Form_Load's placement of a window of the given outer size on a screen:
// centred across and one third of the way down. The differences are taken in
// twips and divided as integers (toward zero) before the result is turned
// back into pixels, so odd differences round the way the twips do.
PixelPoint DialogOrigin(int screenWidth, int screenHeight, int windowWidth, int windowHeight, int dpi);
