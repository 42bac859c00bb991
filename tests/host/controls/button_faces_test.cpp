// The face pictures kept in host/controls/faces/: their layout and the ring
// colours the button relies on.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << std::hex << "(" << c.r << " " << c.g << " " << c.b << ")" << std::dec;
}

struct Face {
    int width = 0, height = 0, bits = 0;
    std::vector<uint8_t> file;
    uint32_t dataOffset = 0;
    Rgb at(int x, int y) const {  // bottom-up rows, blue first
        const size_t i = dataOffset + static_cast<size_t>(height - 1 - y) * width * 3 + x * 3;
        return {file.at(i + 2), file.at(i + 1), file.at(i)};
    }
};

uint32_t Le(const std::vector<uint8_t>& f, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | f.at(at + i);
    return v;
}

Face Load(const std::string& name) {
    std::ifstream in(std::string(RIPPLUME_FACES_DIR) + "/" + name, std::ios::binary);
    Face face;
    face.file.assign(std::istreambuf_iterator<char>(in), {});
    if (face.file.size() < 54 || face.file[0] != 'B' || face.file[1] != 'M') return face;
    face.dataOffset = Le(face.file, 10, 4);
    face.width = static_cast<int>(Le(face.file, 18, 4));
    face.height = static_cast<int>(Le(face.file, 22, 4));
    face.bits = static_cast<int>(Le(face.file, 28, 2));
    return face;
}

const Rgb Outline{0x00, 0x3C, 0x74};
const Rgb Surround{0xEC, 0xE9, 0xD8};

// Brightness-like sum, to compare how dark two colours are.
int Sum(const Rgb& c) {
    return c.r + c.g + c.b;
}

TEST(CommandFacePictures, LayoutAndOutline) {
    for (const char* name :
         {"normal.bmp", "highlight.bmp", "pressed.bmp", "disable.bmp", "highlightselect.bmp", "selected.bmp"}) {
        SCOPED_TRACE(name);
        const Face f = Load(name);
        ASSERT_EQ(f.width, 64);
        ASSERT_EQ(f.height, 25);
        ASSERT_EQ(f.bits, 24);
        ASSERT_EQ(f.file.size(), f.dataOffset + 64u * 25 * 3);
        const bool pressed = std::string(name) == "pressed.bmp";
        const bool disabled = std::string(name) == "disable.bmp";
        const Rgb outline = disabled ? Rgb{0xC9, 0xC7, 0xBA} : Outline;
        // Outline one pixel in (two from the top and left when pressed).
        const int left = pressed ? 2 : 1, top = pressed ? 2 : 1;
        const int right = pressed ? 63 : 62, bottom = pressed ? 24 : 23;
        EXPECT_EQ(f.at(left, 12), outline);
        EXPECT_EQ(f.at(right, 12), outline);
        EXPECT_EQ(f.at(30, top), outline);
        EXPECT_EQ(f.at(30, bottom), outline);
        EXPECT_EQ(f.at(0, 12), Surround);
        EXPECT_EQ(f.at(30, 0), Surround);
        EXPECT_NE(f.at(left, top), outline) << "rounded corner";
    }
}

TEST(CommandFacePictures, InnerEdges) {
    const Face normal = Load("normal.bmp");
    EXPECT_GE(Sum(normal.at(2, 5)), 3 * 0xF0) << "near-white inside";
    EXPECT_GE(Sum(normal.at(30, 2)), 3 * 0xF0);

    for (const char* name : {"highlight.bmp", "highlightselect.bmp"}) {
        const Face f = Load(name);
        EXPECT_EQ(f.at(30, 2), (Rgb{0xFC, 0xD2, 0x79})) << name;
        EXPECT_EQ(f.at(30, 22), (Rgb{0xF8, 0xB3, 0x30})) << name;
        EXPECT_GT(Sum(f.at(2, 6)), Sum(f.at(2, 18))) << name << ": darkening downwards";
    }
    const Face selected = Load("selected.bmp");
    EXPECT_EQ(selected.at(30, 2), (Rgb{0xCE, 0xE7, 0xFF}));
    EXPECT_EQ(selected.at(30, 22), (Rgb{0x69, 0x82, 0xEE}));

    const Face pressed = Load("pressed.bmp");
    for (int x = 0; x < 64; ++x) EXPECT_EQ(pressed.at(x, 0), Surround) << "freed top row, x " << x;
    for (int y = 0; y < 25; ++y) EXPECT_EQ(pressed.at(0, y), Surround) << "freed left column, y " << y;
    EXPECT_LT(Sum(pressed.at(30, 3)), Sum(normal.at(30, 2))) << "darker inner edge";

    const Face disable = Load("disable.bmp");
    EXPECT_EQ(disable.at(30, 2), (Rgb{0xF5, 0xF4, 0xEA}));
    EXPECT_EQ(disable.at(30, 12), (Rgb{0xF5, 0xF4, 0xEA}));
}

}  // namespace
