// The user's wallpaper as the desktop shows it, for a run on a desktop that
// is not the user's own: with "On resume, display logon screen" Windows runs
// the saver on its secure desktop, whose picture shows none of the user's
// windows and is black.
#pragma once
#include "host/common/memory_canvas_win32.h"

// True when the host's thread runs on the user's own desktop ("Default").
bool OnUsersOwnDesktop();

// Draws the user's wallpaper (SPI_GETDESKWALLPAPER: JPEG, PNG or BMP, read
// with the Windows Imaging Component, a PNG a few rows at a time by the host
// itself) on the picture, laid out in the desktop's style over the desktop
// colour; the colour alone when there is no wallpaper or it cannot be read.
void DrawWallpaper(const MemoryCanvas& picture);
