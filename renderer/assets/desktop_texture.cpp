#include "renderer/assets/desktop_texture.h"

GLuint Textures[1];

void MakeDesktopTexture(const BitmapImage& image) {
    glGenTextures(1, &Textures[0]);
    glBindTexture(GL_TEXTURE_2D, Textures[0]);
    // The decoded rows are packed without padding; OpenGL's default expects
    // rows padded to 4 bytes.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, image.pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void MakePlainTexture(uint8_t red, uint8_t green, uint8_t blue) {
    uint8_t pixel[3] = {red, green, blue};
    const BitmapImage image = {1, 1, pixel};
    MakeDesktopTexture(image);
}

bool LoadDesktopTextureFrom(const char* fileName, BitmapPlatform& platform) {
    BitmapImage* image = LoadBitmapFile(fileName, platform);
    if (!image) return false;
    MakeDesktopTexture(*image);
    FreeBitmapImage(image);
    return true;
}
