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

// A texture of the picture's part from (left, top) to (right, bottom), in
// picture pixels with rows from the top, scaled to textureWidth x
// textureHeight (powers of two the GL takes) and filtered linearly. The
// caller owns it; 0 when the part is empty or runs past the picture.
GLuint MakePartTexture(const BitmapImage& picture, int left, int top, int right, int bottom, int textureWidth,
                       int textureHeight);
// A texture of one colour, owned by the caller.
GLuint MakeColourTexture(uint8_t red, uint8_t green, uint8_t blue);
