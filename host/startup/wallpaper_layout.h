// Where the desktop's wallpaper lies on the primary monitor, for each of the
// desktop's styles. A run on another desktop than the user's own (the secure
// desktop Windows uses when it asks for the password on resume) sees none of
// the user's windows, so the water shows the user's wallpaper instead.
#pragma once
#include <string>
#include <vector>

enum class WallpaperStyle { Centre, Tile, Stretch, Fit, Fill, Span };

// The style from HKCU\Control Panel\Desktop's WallpaperStyle and
// TileWallpaper texts: 0 centred (tiled when TileWallpaper is 1), 2 stretched,
// 6 fitted, 10 filling, 22 spanning all monitors; anything else centred.
WallpaperStyle WallpaperStyleFrom(const std::wstring& wallpaperStyle, const std::wstring& tileWallpaper);

struct LayoutRect {
    int X, Y, Width, Height;
};

// The rectangles the whole picture is drawn into, on a primary monitor of
// screenWidth x screenHeight at (0, 0), clipped by the monitor when drawn.
// virtualScreen is the rectangle around all monitors, which Span fills.
std::vector<LayoutRect> WallpaperRects(WallpaperStyle style, int pictureWidth, int pictureHeight, int screenWidth,
                                       int screenHeight, const LayoutRect& virtualScreen);

// Whether each monitor is drawn with a picture of its own: the user chose
// pictures per monitor (perMonitor: each monitor's file, as the system names
// it; empty where it names none) and they are not all the same one. A
// spanned wallpaper is one picture across every monitor whatever they name.
bool WallpaperPerMonitor(WallpaperStyle style, const std::vector<std::wstring>& perMonitor);

// Windows's cached copy of monitor `index`'s own wallpaper, in the same
// folder as the shared one's ("TranscodedWallpaper"): "Transcoded_000" and on.
std::wstring CachedMonitorWallpaperName(size_t index);
