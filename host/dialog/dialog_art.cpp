#include "host/dialog/dialog_art.h"

#include <cmath>

PixelRect TwipsRect(int left, int top, int width, int height, int dpi) {
    return {TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi), TwipsToPixels(height, dpi)};
}

std::vector<GradientRow> GradientRows(int innerHeight) {
    std::vector<GradientRow> rows;
    if (innerHeight <= 0) return rows;  // k would be 0 and every y / k undefined
    const double k = innerHeight / 3.142;
    rows.reserve(size_t(innerHeight) + 1);
    for (int y = 0; y <= innerHeight; ++y) {
        // nearbyint rounds halves to even in the default rounding mode.
        const int v = int(std::nearbyint(std::fabs(std::sin(y / k) * 220.0)));
        rows.push_back({uint8_t(v), uint8_t(v), uint8_t(v + 30)});
    }
    return rows;
}

std::vector<TileSpot> TilePositions(int tileWidth, int tileHeight, int surfaceWidth, int surfaceHeight) {
    std::vector<TileSpot> spots;
    // Without a positive step the walk below would never leave its column.
    if (tileWidth <= 0 || tileHeight <= 0) return spots;
    int x = 0, y = 0;
    for (;;) {
        spots.push_back({x, y});
        if (y > surfaceHeight) {
            if (x > surfaceWidth) break;
            x += tileWidth;
            y = 0;
        } else {
            y += tileHeight;
        }
    }
    return spots;
}

PixelPoint DialogOrigin(int screenWidth, int screenHeight, int windowWidth, int windowHeight, int dpi) {
    const int left = PixelsToTwips(screenWidth - windowWidth, dpi) / 2;
    const int top = PixelsToTwips(screenHeight - windowHeight, dpi) / 3;
    return {TwipsToPixels(left, dpi), TwipsToPixels(top, dpi)};
}
