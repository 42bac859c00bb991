// Draws the settings dialog's pictures and the program icon into a folder:
//   panel_texture.bmp  556 x 20, 24-bit brushed-metal strip tiled over the panel
//   mark_off.bmp       12 x 12, 24-bit option mark of an option not chosen
//   mark_on.bmp        12 x 12, 24-bit option mark of the chosen option
//   hand.cur           32 x 32, two-colour pointing hand, hot spot (12, 10)
//   ripplume.ico       32 x 32, 32-bit program icon: a monitor showing rippling water
//
// The output is deterministic (fixed random seed), so the committed files can
// be made again byte for byte:
//   g++ -std=c++17 -O2 tools/make_dialog_pictures.cpp -o /tmp/make_dialog_pictures
//   /tmp/make_dialog_pictures host/dialog/pictures
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Rgb {
    uint8_t R, G, B;
};

struct Image {
    int Width, Height;
    std::vector<Rgb> Pixels;  // top row first
    Image(int w, int h, Rgb fill) : Width(w), Height(h), Pixels(size_t(w) * h, fill) {}
    Rgb& at(int x, int y) { return Pixels[size_t(y) * Width + x]; }
};

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPINFOHEADER; height is given as stored (icons store twice the height).
void PutInfoHeader(Bytes& out, int width, int height, int bits, uint32_t imageSize, uint32_t colours) {
    Put32(out, 40);
    Put32(out, uint32_t(width));
    Put32(out, uint32_t(height));
    Put16(out, 1);
    Put16(out, uint16_t(bits));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 3780);  // 96 dots per inch
    Put32(out, 3780);
    Put32(out, colours);
    Put32(out, 0);
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool WriteBmp24(const std::string& path, Image& image) {
    const int stride = (image.Width * 3 + 3) & ~3;
    const uint32_t imageSize = uint32_t(stride) * image.Height;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + imageSize);
    Put32(out, 0);
    Put32(out, 14 + 40);
    PutInfoHeader(out, image.Width, image.Height, 24, imageSize, 0);
    for (int y = image.Height - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width; ++x) {
            const Rgb p = image.at(x, y);
            out.push_back(p.B);
            out.push_back(p.G);
            out.push_back(p.R);
        }
        for (int pad = image.Width * 3; pad < stride; ++pad) out.push_back(0);
    }
    return WriteFile(path, out);
}

// Small deterministic generator (xorshift32) so the strip never changes between runs.
struct Random {
    uint32_t State = 0x2C1B3C6Du;
    double Next() {  // -1 .. 1
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return double(State) / 2147483647.5 - 1.0;
    }
};

uint8_t Clamp(double v, double lo, double hi) {
    return uint8_t(std::lround(std::clamp(v, lo, hi)));
}

// Brushed metal: every row is a smoothed noise line (long streaks), with its
// own slight brightness, plus a little fine grain. A faint warm cast keeps red
// a touch above green and blue.
Image PanelTexture() {
    const int width = 556, height = 20;
    Random random;
    std::vector<double> grey(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const double rowLevel = 6.0 * random.Next();
        std::vector<double> line(width);
        for (double& v : line) v = random.Next();
        // Forward and backward exponential smoothing stretch the noise into streaks.
        for (int pass = 0; pass < 2; ++pass) {
            for (int x = 1; x < width; ++x) line[x] = 0.85 * line[x - 1] + 0.15 * line[x];
            for (int x = width - 2; x >= 0; --x) line[x] = 0.85 * line[x + 1] + 0.15 * line[x];
        }
        for (int x = 0; x < width; ++x) grey[size_t(y) * width + x] = rowLevel + 55.0 * line[x] + 3.0 * random.Next();
    }
    double mean = 0;
    for (double v : grey) mean += v;
    mean /= double(grey.size());

    Image image(width, height, {0, 0, 0});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double g = 195.0 + grey[size_t(y) * width + x] - mean;
            image.at(x, y) = {Clamp(g + 3, 160, 224), Clamp(g, 160, 224), Clamp(g - 2, 160, 224)};
        }
    }
    return image;
}

// A 12 x 12 option mark: a frame, a sunken inner edge and the inside filled
// from top to bottom with a gentle gradient between two colours.
Image Mark(Rgb frame, Rgb shadow, Rgb top, Rgb bottom) {
    Image image(12, 12, frame);
    for (int y = 1; y < 11; ++y) {
        for (int x = 1; x < 11; ++x) {
            const double t = (y - 1) / 9.0;
            Rgb fill = {uint8_t(std::lround(top.R + (bottom.R - top.R) * t)),
                        uint8_t(std::lround(top.G + (bottom.G - top.G) * t)),
                        uint8_t(std::lround(top.B + (bottom.B - top.B) * t))};
            image.at(x, y) = (x == 1 || y == 1) ? shadow : fill;
        }
    }
    return image;
}

// The pointing hand as the union of a few rectangles (the white inside); the
// black outline is every pixel next to the inside, so the gaps between the
// fingers become lines.
bool HandInside(int x, int y) {
    struct Box {
        int x0, y0, x1, y1;
    };
    static const Box boxes[] = {
        {11, 10, 14, 24},  // index finger, tip at the hot spot
        {16, 15, 19, 24},  // middle finger
        {21, 16, 24, 24},  // ring finger
        {26, 18, 28, 24},  // little finger
        {11, 23, 28, 27},  // palm
        {12, 28, 27, 29},  // heel of the hand
        {7, 21, 10, 26},   // thumb
        {5, 19, 8, 22},    // thumb tip
    };
    for (const Box& b : boxes)
        if (x >= b.x0 && x <= b.x1 && y >= b.y0 && y <= b.y1) return true;
    return false;
}

bool WriteHandCursor(const std::string& path) {
    const int size = 32, hotX = 12, hotY = 10;
    // XOR bits: 1 = white. AND bits: 1 = transparent. Both bottom-up, 4 bytes a row.
    Bytes xorMask, andMask;
    for (int y = size - 1; y >= 0; --y) {
        uint32_t xorRow = 0, andRow = 0;
        for (int x = 0; x < size; ++x) {
            bool inside = HandInside(x, y);
            bool edge = false;
            for (int dy = -1; dy <= 1 && !inside; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (HandInside(x + dx, y + dy)) edge = true;
            const uint32_t bit = 0x80000000u >> x;
            if (inside) xorRow |= bit;
            if (!inside && !edge) andRow |= bit;
        }
        for (int shift = 24; shift >= 0; shift -= 8) {
            xorMask.push_back(uint8_t(xorRow >> shift));
            andMask.push_back(uint8_t(andRow >> shift));
        }
    }
    Bytes image;
    PutInfoHeader(image, size, size * 2, 1, uint32_t(xorMask.size() + andMask.size()), 2);
    Put32(image, 0x00000000);  // colour 0 black
    Put32(image, 0x00FFFFFF);  // colour 1 white
    image.insert(image.end(), xorMask.begin(), xorMask.end());
    image.insert(image.end(), andMask.begin(), andMask.end());

    Bytes out;
    Put16(out, 0);
    Put16(out, 2);  // cursor
    Put16(out, 1);
    out.push_back(size);
    out.push_back(size);
    out.push_back(2);  // colours
    out.push_back(0);
    Put16(out, hotX);
    Put16(out, hotY);
    Put32(out, uint32_t(image.size()));
    Put32(out, 6 + 16);
    out.insert(out.end(), image.begin(), image.end());
    return WriteFile(path, out);
}

struct Rgba {
    double R, G, B, A;
};

// Colour of one sample point of the icon (coordinates in pixels, 0..32).
Rgba IconSample(double x, double y) {
    auto inRoundRect = [](double px, double py, double x0, double y0, double x1, double y1, double radius) {
        const double cx = std::clamp(px, x0 + radius, x1 - radius);
        const double cy = std::clamp(py, y0 + radius, y1 - radius);
        return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius && px >= x0 && px <= x1 && py >= y0 &&
               py <= y1;
    };
    // Screen: water darkening downwards, with three ripple rings round a drop.
    if (x >= 4.5 && x <= 27.5 && y >= 5.5 && y <= 21.5) {
        const double t = (y - 5.5) / 16.0;
        Rgba water = {60 - 40 * t, 150 - 70 * t, 225 - 60 * t, 255};
        const double dx = (x - 16.0), dy = (y - 13.5) * 2.0;
        const double r = std::sqrt(dx * dx + dy * dy);
        for (double ring : {2.2, 6.5, 11.0}) {
            const double d = std::fabs(r - ring);
            if (d < 0.9) {
                const double k = (0.9 - d) / 0.9 * (ring < 3 ? 1.0 : ring < 7 ? 0.85 : 0.6);
                water.R += (235 - water.R) * k;
                water.G += (248 - water.G) * k;
                water.B += (255 - water.B) * k;
            }
        }
        return water;
    }
    if (inRoundRect(x, y, 1.5, 2.5, 30.5, 24.5, 2.5)) {
        const double t = (y - 2.5) / 22.0;  // a light top edge on the dark frame
        return {95 - 45 * t, 100 - 45 * t, 110 - 45 * t, 255};
    }
    if (x >= 13 && x <= 19 && y > 24.5 && y <= 27.5) return {120, 124, 132, 255};  // neck
    if (inRoundRect(x, y, 8, 27, 24, 30.5, 1.5)) return {150, 154, 162, 255};      // foot
    return {0, 0, 0, 0};
}

bool WriteIcon(const std::string& path) {
    const int size = 32, samples = 4;
    Bytes colours, andMask;
    for (int y = size - 1; y >= 0; --y) {
        uint32_t andRow = 0;
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const Rgba s = IconSample(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples);
                    r += s.R * s.A;
                    g += s.G * s.A;
                    b += s.B * s.A;
                    a += s.A;
                }
            }
            uint8_t alpha = uint8_t(std::lround(a / (samples * samples)));
            uint8_t red = a > 0 ? Clamp(r / a, 0, 255) : 0;
            uint8_t green = a > 0 ? Clamp(g / a, 0, 255) : 0;
            uint8_t blue = a > 0 ? Clamp(b / a, 0, 255) : 0;
            colours.push_back(blue);
            colours.push_back(green);
            colours.push_back(red);
            colours.push_back(alpha);
            if (alpha < 128) andRow |= 0x80000000u >> x;
        }
        for (int shift = 24; shift >= 0; shift -= 8) andMask.push_back(uint8_t(andRow >> shift));
    }
    Bytes image;
    PutInfoHeader(image, size, size * 2, 32, uint32_t(colours.size() + andMask.size()), 0);
    image.insert(image.end(), colours.begin(), colours.end());
    image.insert(image.end(), andMask.begin(), andMask.end());

    Bytes out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, 1);
    out.push_back(size);
    out.push_back(size);
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, uint32_t(image.size()));
    Put32(out, 6 + 16);
    out.insert(out.end(), image.begin(), image.end());
    return WriteFile(path, out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";

    Image texture = PanelTexture();
    Image markOff = Mark({150, 150, 156}, {196, 196, 200}, {238, 238, 240}, {218, 218, 222});
    Image markOn = Mark({0, 60, 116}, {20, 60, 150}, {90, 150, 240}, {30, 80, 200});

    bool ok = WriteBmp24(folder + "panel_texture.bmp", texture) && WriteBmp24(folder + "mark_off.bmp", markOff) &&
              WriteBmp24(folder + "mark_on.bmp", markOn) && WriteHandCursor(folder + "hand.cur") &&
              WriteIcon(folder + "ripplume.ico");
    if (!ok) {
        std::fprintf(stderr, "could not write the pictures into %s\n", folder.c_str());
        return 1;
    }

    double sum[3] = {};
    for (const Rgb& p : texture.Pixels) {
        sum[0] += p.R;
        sum[1] += p.G;
        sum[2] += p.B;
    }
    const double n = double(texture.Pixels.size());
    std::printf("panel texture means: red %.1f green %.1f blue %.1f\n", sum[0] / n, sum[1] / n, sum[2] / n);
    return 0;
}
