// The desktop picture as OpenGL texture slot 0.
#pragma once
#include "renderer/assets/bitmap_file.h"
#include "renderer/gl_api.h"

extern GLuint Textures[1];

// Builds Textures[0] from a decoded picture (packed RGB, bottom row first).
void MakeDesktopTexture(const BitmapImage& image);
// Textures[0] of one colour, for when there is no picture to show.
void MakePlainTexture(uint8_t red, uint8_t green, uint8_t blue);

// Builds Textures[0] from a bitmap file; false when the file gave no picture.
bool LoadDesktopTextureFrom(const char* fileName, BitmapPlatform& platform);
