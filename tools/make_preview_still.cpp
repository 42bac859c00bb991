// Draws the preview still (152 x 112) with the renderer's own scene code:
// a sample desktop, mirrored as the host captures it, becomes the water's
// texture; a few hundred frames with drops run through OSMesa, and the last
// one, drawn four times larger, is averaged down and written as a bitmap.
//
//   make_preview_still OUT.bmp
#include <GL/osmesa.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/startup/bmp_writer.h"
#include "renderer/assets/desktop_texture.h"
#include "renderer/gl_api.h"
#include "renderer/assets/bitmap_platform_posix.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/scene_start.h"
#include "renderer/water/water_grid.h"

namespace {

constexpr int DesktopWidth = 1024;
constexpr int DesktopHeight = 768;
constexpr int StillWidth = 152;
constexpr int StillHeight = 112;
constexpr int Supersample = 4;
constexpr int Frames = 330;

struct Rgb {
    int R, G, B;
};

// A top-down RGB picture of a desktop: wallpaper, icons, a window, a taskbar.
struct Desktop {
    std::vector<uint8_t> Pixels = std::vector<uint8_t>(DesktopWidth * DesktopHeight * 3);

    void Fill(int left, int top, int width, int height, Rgb colour) {
        for (int y = top; y < top + height && y < DesktopHeight; ++y) {
            for (int x = left; x < left + width && x < DesktopWidth; ++x) {
                uint8_t* p = &Pixels[(y * DesktopWidth + x) * 3];
                p[0] = static_cast<uint8_t>(colour.R);
                p[1] = static_cast<uint8_t>(colour.G);
                p[2] = static_cast<uint8_t>(colour.B);
            }
        }
    }
};

Rgb Mix(Rgb a, Rgb b, int step, int steps) {
    return {a.R + (b.R - a.R) * step / steps, a.G + (b.G - a.G) * step / steps, a.B + (b.B - a.B) * step / steps};
}

Desktop SampleDesktop() {
    Desktop d;
    for (int y = 0; y < DesktopHeight; ++y) {
        d.Fill(0, y, DesktopWidth, 1, Mix({40, 110, 160}, {10, 60, 110}, y, DesktopHeight));
    }
    const Rgb iconColours[] = {{240, 210, 80}, {200, 220, 240}, {120, 200, 120}, {250, 250, 250}};
    for (int i = 0; i < 4; ++i) {
        d.Fill(28, 24 + i * 84, 36, 36, iconColours[i]);
        d.Fill(16, 66 + i * 84, 60, 10, {230, 230, 230});
    }
    // A window with a blue caption bar and lines of text.
    const int wx = 230, wy = 130, ww = 560, wh = 380;
    d.Fill(wx, wy, ww, wh, {212, 208, 200});
    for (int x = 0; x < ww - 6; ++x) {
        d.Fill(wx + 3 + x, wy + 3, 1, 22, Mix({10, 36, 106}, {166, 202, 240}, x, ww));
    }
    d.Fill(wx + 8, wy + 34, ww - 16, wh - 42, {255, 255, 255});
    for (int line = 0; line < 14; ++line) {
        d.Fill(wx + 20, wy + 50 + line * 22, 120 + (line * 97) % 380, 8, {60, 60, 70});
    }
    // Taskbar with its start button and clock.
    d.Fill(0, DesktopHeight - 30, DesktopWidth, 30, {212, 208, 200});
    d.Fill(0, DesktopHeight - 30, DesktopWidth, 2, {255, 255, 255});
    d.Fill(4, DesktopHeight - 26, 70, 22, {60, 150, 70});
    d.Fill(DesktopWidth - 80, DesktopHeight - 26, 76, 22, {190, 186, 178});
    return d;
}

// The host hands the renderer the screen mirrored left to right, in a
// bottom-up 24-bit bitmap file.
std::vector<uint8_t> MirroredBitmapFile(const Desktop& desktop) {
    std::vector<uint8_t> bottomUp(desktop.Pixels.size());
    for (int y = 0; y < DesktopHeight; ++y) {
        for (int x = 0; x < DesktopWidth; ++x) {
            const uint8_t* in = &desktop.Pixels[(y * DesktopWidth + x) * 3];
            uint8_t* out = &bottomUp[((DesktopHeight - 1 - y) * DesktopWidth + (DesktopWidth - 1 - x)) * 3];
            std::memcpy(out, in, 3);
        }
    }
    return EncodeBmp24FromRgb(DesktopWidth, DesktopHeight, bottomUp.data());
}

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && ok;
}

// A fixed pseudo-random sequence, so the still comes out the same every time.
struct FixedSequence : RandomSource {
    unsigned State = 12345;
    int Next() override {
        State = State * 1103515245u + 12345u;
        return static_cast<int>((State >> 16) & 0x7fff);
    }
} FixedRandom;

struct Drop {
    int Frame, Column, Row;
};
// Some rings wide, some fresh, spread over the part of the grid in view.
const Drop Drops[] = {{200, 62, 58}, {250, 78, 66}, {270, 55, 75}, {290, 70, 48}, {305, 85, 80}, {318, 60, 68}};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.bmp\n", argv[0]);
        return 2;
    }
    const int width = StillWidth * Supersample;
    const int height = StillHeight * Supersample;
    std::vector<uint8_t> colour(width * height * 4);
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (context == nullptr || !OSMesaMakeCurrent(context, colour.data(), GL_UNSIGNED_BYTE, width, height)) {
        std::fprintf(stderr, "no OSMesa context\n");
        return 1;
    }

    const char* desktopFile = "preview_still_desktop.bmp";
    if (!WriteFile(desktopFile, MirroredBitmapFile(SampleDesktop()))) {
        std::fprintf(stderr, "cannot write %s\n", desktopFile);
        return 1;
    }
    PosixBitmapPlatform platform;
    const bool started = StartScene(width, height, [&] { return LoadDesktopTextureFrom(desktopFile, platform); });
    std::remove(desktopFile);
    if (!started) {
        return 1;
    }
    Frame.Random = &FixedRandom;

    for (int frame = 0; frame < Frames; ++frame) {
        for (const Drop& drop : Drops) {
            if (drop.Frame == frame) {
                DropRipple(drop.Column, drop.Row);
            }
        }
        DrawScene();
    }
    glFinish();

    std::vector<uint8_t> rgb(width * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<uint8_t> still(StillWidth * StillHeight * 3);
    for (int y = 0; y < StillHeight; ++y) {
        for (int x = 0; x < StillWidth; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int sy = 0; sy < Supersample; ++sy) {
                    for (int sx = 0; sx < Supersample; ++sx) {
                        sum += rgb[((y * Supersample + sy) * width + x * Supersample + sx) * 3 + c];
                    }
                }
                still[(y * StillWidth + x) * 3 + c] =
                    static_cast<uint8_t>((sum + Supersample * Supersample / 2) / (Supersample * Supersample));
            }
        }
    }
    OSMesaDestroyContext(context);
    if (!WriteFile(argv[1], EncodeBmp24FromRgb(StillWidth, StillHeight, still.data()))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
