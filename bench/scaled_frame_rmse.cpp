// How far a frame drawn small and scaled up is from the full-size frame:
//   scaled_frame_rmse [-o PREFIX] PICTURE.ppm WIDTH HEIGHT SCALE FRAME...
// draws each FRAME (a frame number: the camera and the water after that many
// steps, drops from a fixed sequence) off-screen at WIDTH x HEIGHT, and again
// at SCALE of that size scaled up with the display mode's upscaler, over the
// picture (mirrored, as the desktop is), and prints the RMSE (of 255) between
// the two, beside the RMSE between that full-size frame and the next. With
// -o both pictures are written too, as PREFIX-full-FRAME.ppm and
// PREFIX-scaled-FRAME.ppm.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "renderer/assets/desktop_texture.h"
#include "renderer/frame/bilinear_upscale.h"
#include "renderer/frame/render_scale.h"
#include "renderer/gl_api.h"
#include "renderer/water/draw_scene.h"
#include "renderer/water/gl_state.h"
#include "renderer/water/projection.h"
#include "renderer/water/scene_settings.h"
#include "renderer/water/water_grid.h"
#include "renderer/x11/display_mode.h"
#include "tools/osmesa_context.h"

namespace {

struct FixedDrops : RandomSource {
    unsigned state = 25;
    int Next() override { return int((state = state * 1103515245u + 12345u) >> 16) & 0x7fff; }
};

std::vector<uint8_t> ReadPpm(const char* path, int& width, int& height) {
    std::FILE* file = std::fopen(path, "rb");
    int maximum = 0;
    if (!file || std::fscanf(file, "P6 %d %d %d", &width, &height, &maximum) != 3 || maximum != 255) {
        if (file) std::fclose(file);
        return {};
    }
    std::fgetc(file);
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    const bool read = std::fread(rgb.data(), 1, rgb.size(), file) == rgb.size();
    std::fclose(file);
    return read ? rgb : std::vector<uint8_t>{};
}

// The frame's pixels (RGBA, bottom-up) after `frame` steps, drawn at width x height.
std::vector<uint8_t> FrameAt(int frame, int width, int height) {
    static FixedDrops drops;
    drops = FixedDrops{};
    std::memset(&Water, 0, sizeof Water);
    InitSceneSettings();
    InitWaterGrid();
    Frame = FrameState{};
    Frame.Random = &drops;
    ApplyProjection(1, 1);  // the steps before: the water and the camera only
    for (int i = 1; i < frame; ++i) DrawScene();
    ApplyProjection(width, height);
    DrawScene();
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

double Rmse(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    double sum = 0;
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (i % 4 == 3) continue;
        const double d = double(a[i]) - b[i];
        sum += d * d;
        ++count;
    }
    return std::sqrt(sum / double(count));
}

void WritePpm(const std::string& path, const std::vector<uint8_t>& bottomUpRgba, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) std::fwrite(&bottomUpRgba[(size_t(y) * width + x) * 4], 1, 3, file);
    std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
    std::string out;
    if (argc > 2 && std::strcmp(argv[1], "-o") == 0) {
        out = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc < 6) {
        std::fprintf(stderr, "usage: scaled_frame_rmse [-o PREFIX] PICTURE.ppm WIDTH HEIGHT SCALE FRAME...\n");
        return 2;
    }
    int pictureWidth = 0, pictureHeight = 0;
    const std::vector<uint8_t> picture = ReadPpm(argv[1], pictureWidth, pictureHeight);
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
    const double scale = std::atof(argv[4]);
    static OffscreenContext context;
    if (picture.empty() || width <= 0 || height <= 0 || !context.Bind(width, height)) {
        std::fprintf(stderr, "scaled_frame_rmse: no picture or no off-screen buffer\n");
        return 1;
    }
    ApplyFixedGLState();
    std::vector<uint8_t> mirrored = MirroredBottomUp(picture.data(), pictureWidth, pictureHeight);
    MakeDesktopTexture({pictureWidth, pictureHeight, mirrored.data()});
    const int smallWidth = ScaledLength(width, scale), smallHeight = ScaledLength(height, scale);
    for (int i = 5; i < argc; ++i) {
        const int frame = std::atoi(argv[i]);
        const std::vector<uint8_t> full = FrameAt(frame, width, height);
        const std::vector<uint8_t> next = FrameAt(frame + 1, width, height);
        std::vector<uint8_t> small = FrameAt(frame, smallWidth, smallHeight);
        std::vector<uint8_t> scaled(full.size());
        UpscaleBilinear({small.data(), ptrdiff_t(smallWidth) * 4, smallWidth, smallHeight},
                        {scaled.data(), ptrdiff_t(width) * 4, width, height});
        if (!out.empty()) {
            WritePpm(out + "-full-" + std::to_string(frame) + ".ppm", full, width, height);
            WritePpm(out + "-scaled-" + std::to_string(frame) + ".ppm", scaled, width, height);
        }
        std::printf("%dx%d frame %d: scale %.3f (%dx%d) RMSE %.2f; the next frame RMSE %.2f\n", width, height, frame,
                    scale, smallWidth, smallHeight, Rmse(scaled, full), Rmse(next, full));
    }
    return 0;
}
