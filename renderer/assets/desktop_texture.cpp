#include "renderer/assets/desktop_texture.h"

#include <algorithm>
#include <vector>

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

namespace {

// A linearly filtered texture of packed RGB rows (bottom row first).
GLuint UploadTexture(int width, int height, const uint8_t* pixels) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}

}  // namespace

GLuint MakePartTexture(const BitmapImage& picture, int left, int top, int right, int bottom, int textureWidth,
                       int textureHeight) {
    if (left < 0 || top < 0 || right > picture.width || bottom > picture.height || right <= left || bottom <= top ||
        textureWidth <= 0 || textureHeight <= 0)
        return 0;
    const int width = right - left;
    const int height = bottom - top;
    // The picture's rows are stored bottom row first; so are the part's.
    std::vector<uint8_t> part(size_t(width) * height * 3);
    for (int row = 0; row < height; ++row) {
        const int pictureRow = picture.height - bottom + row;
        const uint8_t* from = picture.pixels + (size_t(pictureRow) * picture.width + left) * 3;
        std::copy(from, from + size_t(width) * 3, part.begin() + size_t(row) * width * 3);
    }
    if (width == textureWidth && height == textureHeight) return UploadTexture(width, height, part.data());

    std::vector<uint8_t> scaled(size_t(textureWidth) * textureHeight * 3);
    GLint previousUnpack = 4, previousPack = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousUnpack);
    glGetIntegerv(GL_PACK_ALIGNMENT, &previousPack);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const GLint scaledOk = gluScaleImage(GL_RGB, width, height, GL_UNSIGNED_BYTE, part.data(), textureWidth,
                                         textureHeight, GL_UNSIGNED_BYTE, scaled.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousUnpack);
    glPixelStorei(GL_PACK_ALIGNMENT, previousPack);
    if (scaledOk != 0) return 0;
    return UploadTexture(textureWidth, textureHeight, scaled.data());
}

GLuint MakeColourTexture(uint8_t red, uint8_t green, uint8_t blue) {
    const uint8_t pixel[3] = {red, green, blue};
    return UploadTexture(1, 1, pixel);
}
