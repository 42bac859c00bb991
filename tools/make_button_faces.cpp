// Draws the six face pictures of the Command button and writes them as
// 64 x 25, 24-bit Windows bitmaps into the folder given on the command line
// (host/controls/faces/). Only each picture's 4-pixel border ring is ever
// shown; the centre is filled with the button's gradient so the file alone
// looks like the button.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Width = 64;
constexpr int Height = 25;

struct Rgb {
    uint8_t R, G, B;
};

constexpr Rgb Outline{0x00, 0x3C, 0x74};
constexpr Rgb Surround{0xEC, 0xE9, 0xD8};  // the system's dialog colour
constexpr Rgb GradientTop{0xFF, 0xFF, 0xFF};
constexpr Rgb GradientBottom{0xC6, 0xC5, 0xD7};

Rgb Mix(Rgb a, Rgb b, double t) {  // t = 0 gives a, 1 gives b
    auto m = [t](int x, int y) { return static_cast<uint8_t>(x + (y - x) * t + 0.5); };
    return {m(a.R, b.R), m(a.G, b.G), m(a.B, b.B)};
}

struct Picture {
    std::vector<Rgb> Px = std::vector<Rgb>(Width * Height, Surround);
    Rgb& at(int x, int y) { return Px[y * Width + x]; }
};

// The outline box from (left, top) to (right, bottom) inclusive: a gradient
// centre, an inner edge `edgeWidth` pixels wide coloured by edge(y), and a
// 1-pixel outline whose corner pixels are blended into the surround.
template <class EdgeColour>
void DrawBox(Picture& p, int left, int top, int right, int bottom, Rgb outline, int edgeWidth, EdgeColour edge,
             bool gradientCentre) {
    for (int y = top + 1; y < bottom; ++y) {
        for (int x = left + 1; x < right; ++x) {
            const bool inEdge =
                x <= left + edgeWidth || x >= right - edgeWidth || y <= top + edgeWidth || y >= bottom - edgeWidth;
            const double t = static_cast<double>(y - top - 1) / (bottom - top - 2);
            p.at(x, y) = inEdge || !gradientCentre ? edge(x, y) : Mix(GradientTop, GradientBottom, t);
        }
    }
    for (int x = left; x <= right; ++x) p.at(x, top) = p.at(x, bottom) = outline;
    for (int y = top; y <= bottom; ++y) p.at(left, y) = p.at(right, y) = outline;
    // Rounded corners: the corner pixel mostly surround, the one inside it
    // half outline.
    const int cx[2] = {left, right}, cy[2] = {top, bottom}, in[2] = {1, -1};
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            Rgb& corner = p.at(cx[i], cy[j]);
            corner = Mix(Surround, outline, 0.3);
            Rgb& inner = p.at(cx[i] + in[i], cy[j] + in[j]);
            inner = Mix(inner, outline, 0.45);
        }
    }
}

// Vertical run from `from` at the box's inner top to `to` at its inner bottom.
auto VerticalEdge(Rgb from, Rgb to, int top, int bottom) {
    return [=](int, int y) { return Mix(from, to, static_cast<double>(y - top - 1) / (bottom - top - 2)); };
}

Picture NormalFace() {
    Picture p;
    DrawBox(p, 1, 1, 62, 23, Outline, 2, VerticalEdge(Rgb{0xFF, 0xFF, 0xFF}, Rgb{0xEA, 0xE9, 0xEF}, 1, 23), true);
    return p;
}

Picture HighLightFace() {
    Picture p;
    DrawBox(p, 1, 1, 62, 23, Outline, 2, VerticalEdge(Rgb{0xFC, 0xD2, 0x79}, Rgb{0xF8, 0xB3, 0x30}, 1, 23), true);
    return p;
}

Picture SelectedFace() {
    Picture p;
    DrawBox(p, 1, 1, 62, 23, Outline, 2, VerticalEdge(Rgb{0xCE, 0xE7, 0xFF}, Rgb{0x69, 0x82, 0xEE}, 1, 23), true);
    return p;
}

Picture PressedFace() {
    // Pushed in: the outline one pixel right and down, a shadowed inner edge
    // darkest along the top and left.
    Picture p;
    const Rgb shadow{0xB9, 0xB8, 0xC9}, edge{0xD6, 0xD5, 0xE0};
    DrawBox(
        p, 2, 2, 63, 24, Outline, 2, [=](int x, int y) { return (x == 3 || y == 3) ? shadow : edge; }, true);
    // The ring is 4 pixels wide, so one column and row of the centre show on
    // the right and at the bottom: widen the edge there.
    for (int y = 4; y <= 21; ++y) p.at(60, y) = edge;
    for (int x = 4; x <= 60; ++x) p.at(x, 21) = edge;
    return p;
}

Picture DisableFace() {
    Picture p;
    const Rgb inner{0xF5, 0xF4, 0xEA};
    DrawBox(
        p, 1, 1, 62, 23, Rgb{0xC9, 0xC7, 0xBA}, 2, [=](int, int) { return inner; }, false);
    return p;
}

bool WriteBitmap(const std::string& path, Picture& p) {
    const uint32_t rowBytes = Width * 3;  // already a multiple of 4
    const uint32_t imageBytes = rowBytes * Height;
    std::vector<uint8_t> f;
    auto u16 = [&f](uint32_t v) {
        f.push_back(v & 0xFF);
        f.push_back((v >> 8) & 0xFF);
    };
    auto u32 = [&u16](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    f.push_back('B');
    f.push_back('M');
    u32(14 + 40 + imageBytes);
    u32(0);
    u32(14 + 40);
    u32(40);
    u32(Width);
    u32(Height);
    u16(1);
    u16(24);
    u32(0);
    u32(imageBytes);
    u32(3780);
    u32(3780);
    u32(0);
    u32(0);                                  // 96 dots per inch
    for (int y = Height - 1; y >= 0; --y) {  // bottom-up rows, blue first
        for (int x = 0; x < Width; ++x) {
            const Rgb c = p.at(x, y);
            f.push_back(c.B);
            f.push_back(c.G);
            f.push_back(c.R);
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool ok = std::fwrite(f.data(), 1, f.size(), out) == f.size();
    return std::fclose(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output-folder\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    struct {
        const char* name;
        Picture picture;
    } faces[] = {
        {"normal.bmp", NormalFace()},   {"highlight.bmp", HighLightFace()},       {"pressed.bmp", PressedFace()},
        {"disable.bmp", DisableFace()}, {"highlightselect.bmp", HighLightFace()}, {"selected.bmp", SelectedFace()},
    };
    for (auto& face : faces) {
        const std::string path = dir + "/" + face.name;
        if (!WriteBitmap(path, face.picture)) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
