#include "host/startup/wallpaper_layout.h"

#include <cstdint>

#include "host/common/decimal_text.h"

namespace {

// a * b / c rounded to the nearest whole number, without overflow.
int Scaled(int a, int b, int c) {
    return int((int64_t(a) * b * 2 + c) / (int64_t(c) * 2));
}

// The picture scaled to fit inside (or, filling, to cover) the area, keeping
// its proportions, centred on it.
LayoutRect Proportional(int pictureWidth, int pictureHeight, const LayoutRect& area, bool fill) {
    const bool widerThanArea = int64_t(pictureWidth) * area.Height > int64_t(pictureHeight) * area.Width;
    int width = area.Width, height = area.Height;
    if (widerThanArea != fill)
        height = Scaled(pictureHeight, area.Width, pictureWidth);
    else
        width = Scaled(pictureWidth, area.Height, pictureHeight);
    return {area.X + (area.Width - width) / 2, area.Y + (area.Height - height) / 2, width, height};
}

}  // namespace

WallpaperStyle WallpaperStyleFrom(const std::wstring& wallpaperStyle, const std::wstring& tileWallpaper) {
    Decimal style, tile;
    const int64_t styleNumber = ReadWholeText(wallpaperStyle, style) ? RoundedDown(style) : 0;
    const bool tiled = ReadWholeText(tileWallpaper, tile) && RoundedDown(tile) == 1;
    switch (styleNumber) {
    case 2:
        return WallpaperStyle::Stretch;
    case 6:
        return WallpaperStyle::Fit;
    case 10:
        return WallpaperStyle::Fill;
    case 22:
        return WallpaperStyle::Span;
    default:
        return tiled ? WallpaperStyle::Tile : WallpaperStyle::Centre;
    }
}

std::vector<LayoutRect> WallpaperRects(WallpaperStyle style, int pictureWidth, int pictureHeight, int screenWidth,
                                       int screenHeight, const LayoutRect& virtualScreen) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) return {};
    const LayoutRect screen = {0, 0, screenWidth, screenHeight};
    switch (style) {
    case WallpaperStyle::Stretch:
        return {screen};
    case WallpaperStyle::Fit:
        return {Proportional(pictureWidth, pictureHeight, screen, false)};
    case WallpaperStyle::Fill:
        return {Proportional(pictureWidth, pictureHeight, screen, true)};
    case WallpaperStyle::Span:
        return {Proportional(pictureWidth, pictureHeight, virtualScreen.Width > 0 ? virtualScreen : screen, true)};
    case WallpaperStyle::Tile: {
        std::vector<LayoutRect> tiles;
        for (int y = 0; y < screenHeight; y += pictureHeight)
            for (int x = 0; x < screenWidth; x += pictureWidth) tiles.push_back({x, y, pictureWidth, pictureHeight});
        return tiles;
    }
    case WallpaperStyle::Centre:
    default:
        return {{(screenWidth - pictureWidth) / 2, (screenHeight - pictureHeight) / 2, pictureWidth, pictureHeight}};
    }
}

bool WallpaperPerMonitor(WallpaperStyle style, const std::vector<std::wstring>& perMonitor) {
    if (style == WallpaperStyle::Span || perMonitor.size() < 2) return false;
    for (const std::wstring& path : perMonitor) {
        if (path != perMonitor.front()) return true;
    }
    return false;
}

std::wstring CachedMonitorWallpaperName(size_t index) {
    const std::wstring digits = std::to_wstring(index);
    return L"Transcoded_" + std::wstring(digits.size() < 3 ? 3 - digits.size() : 0, L'0') + digits;
}
