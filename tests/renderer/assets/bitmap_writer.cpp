#include "tests/renderer/assets/bitmap_writer.h"

#include <algorithm>
#include <cstdlib>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value);
    Put16(out, value >> 16);
}

void PutBgr(std::vector<uint8_t>& out, uint32_t rgb) {
    out.push_back(uint8_t(rgb));
    out.push_back(uint8_t(rgb >> 8));
    out.push_back(uint8_t(rgb >> 16));
}

std::vector<uint8_t> Header(const BitmapLayout& layout) {
    std::vector<uint8_t> out;
    Put32(out, layout.headerSize);
    if (layout.headerSize == 12) {
        Put16(out, uint32_t(layout.width));
        Put16(out, uint32_t(layout.height));
        Put16(out, layout.planes);
        Put16(out, layout.bitCount);
        return out;
    }
    Put32(out, uint32_t(layout.width));
    Put32(out, uint32_t(layout.height));
    Put16(out, layout.planes);
    Put16(out, layout.bitCount);
    Put32(out, layout.compression);
    Put32(out, 0);  // image size
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, layout.colorsUsed);
    Put32(out, 0);  // colours important
    out.resize(std::max<size_t>(40, std::min<uint32_t>(layout.headerSize, 124)), 0);
    return out;
}

std::vector<uint8_t> Row(const BitmapLayout& layout, const uint32_t* pixels) {
    std::vector<uint8_t> row;
    if (layout.bitCount < 8) {
        row.assign((layout.width * layout.bitCount + 7) / 8, 0);
        for (int x = 0; x < layout.width; ++x) {
            const int bit = x * layout.bitCount;
            row[bit / 8] |= uint8_t(pixels[x] << (8 - layout.bitCount - bit % 8));
        }
    } else {
        for (int x = 0; x < layout.width; ++x) {
            switch (layout.bitCount) {
            case 8:
                row.push_back(uint8_t(pixels[x]));
                break;
            case 16:
                Put16(row, pixels[x]);
                break;
            case 24:
                PutBgr(row, pixels[x]);
                break;
            default:
                Put32(row, pixels[x]);
                break;
            }
        }
    }
    row.resize((row.size() + 3) / 4 * 4, 0);
    return row;
}

}  // namespace

std::vector<uint8_t> WriteBitmapData(const BitmapLayout& layout, const std::vector<uint8_t>& pixelData) {
    std::vector<uint8_t> body = Header(layout);
    for (uint32_t mask : layout.masks) Put32(body, mask);
    for (uint32_t colour : layout.palette) {
        PutBgr(body, colour);
        if (layout.headerSize != 12) body.push_back(0);
    }
    std::vector<uint8_t> file;
    if (layout.fileHeader) {
        const uint32_t pixelOffset = uint32_t(14 + body.size());
        file = {'B', 'M'};
        Put32(file, uint32_t(pixelOffset + pixelData.size()));
        Put32(file, 0);
        Put32(file, pixelOffset);
    }
    file.insert(file.end(), body.begin(), body.end());
    file.insert(file.end(), pixelData.begin(), pixelData.end());
    return file;
}

std::vector<uint8_t> WriteBitmap(const BitmapLayout& layout, const std::vector<uint32_t>& pixels) {
    const int rows = std::abs(layout.height);
    std::vector<uint8_t> data;
    for (int i = 0; i < rows; ++i) {
        // The file holds the bottom row first unless the height is negative.
        const int row = layout.height > 0 ? rows - 1 - i : i;
        const std::vector<uint8_t> packed = Row(layout, pixels.data() + row * layout.width);
        data.insert(data.end(), packed.begin(), packed.end());
    }
    return WriteBitmapData(layout, data);
}

std::vector<uint8_t> RgbBytes(std::initializer_list<uint32_t> colours) {
    std::vector<uint8_t> out;
    for (uint32_t c : colours) {
        out.push_back(uint8_t(c >> 16));
        out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c));
    }
    return out;
}

std::vector<SampleBitmap> SampleBitmaps() {
    const std::vector<uint32_t> greys = {0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                         0x0000FF, 0x123456, 0xABCDEF, 0x102030, 0x405060, 0x708090, 0xA0B0C0,
                                         0xD0E0F0, 0xFEDCBA, 0x111111, 0x222222, 0x333333, 0x444444};
    auto pattern = [](int count, uint32_t modulus) {
        std::vector<uint32_t> values;
        for (int i = 0; i < count; ++i) values.push_back(uint32_t(i * 7 + 3) % modulus);
        return values;
    };
    auto layout = [](int width, int height, uint16_t bits) {
        BitmapLayout s;
        s.width = width;
        s.height = height;
        s.bitCount = bits;
        return s;
    };
    std::vector<SampleBitmap> samples;

    BitmapLayout pal1 = layout(9, 3, 1);
    pal1.palette = {0x000000, 0xFFFFFF};
    samples.push_back({"pal1", false, WriteBitmap(pal1, pattern(27, 2))});

    BitmapLayout pal4core = layout(5, 2, 4);
    pal4core.headerSize = 12;
    pal4core.fileHeader = false;
    pal4core.palette.assign(greys.begin(), greys.begin() + 16);
    samples.push_back({"pal4-core", false, WriteBitmap(pal4core, pattern(10, 16))});

    BitmapLayout pal8used20 = layout(3, 3, 8);
    pal8used20.fileHeader = false;
    pal8used20.colorsUsed = 20;
    pal8used20.palette = greys;
    samples.push_back({"pal8-used20", false, WriteBitmap(pal8used20, pattern(9, 20))});

    BitmapLayout topDown = layout(4, -3, 8);
    topDown.palette = greys;
    topDown.colorsUsed = 20;
    samples.push_back({"pal8-topdown", false, WriteBitmap(topDown, pattern(12, 20))});

    samples.push_back({"rgb16", false, WriteBitmap(layout(5, 2, 16), pattern(10, 0x8000))});

    BitmapLayout rgb565 = layout(3, 2, 16);
    rgb565.compression = 3;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    samples.push_back({"rgb16-565", false, WriteBitmap(rgb565, {0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0821, 0})});

    samples.push_back(
        {"rgb24", false, WriteBitmap(layout(3, 2, 24), {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x123456})});

    BitmapLayout rgb32bf = layout(2, 2, 32);
    rgb32bf.compression = 3;
    rgb32bf.masks = {0xFF000000, 0x00000FF0, 0x00FF0000};
    samples.push_back(
        {"rgb32-bitfields", false, WriteBitmap(rgb32bf, {0xFF000000, 0x00000FF0, 0x00FF0000, 0x12345678})});

    BitmapLayout rle8 = layout(4, 3, 8);
    rle8.compression = 1;
    rle8.colorsUsed = 20;
    rle8.palette = greys;
    samples.push_back({"rle8", true, WriteBitmapData(rle8, {3, 1, 0, 0,                  // run, end of line
                                                            0, 3, 2, 3, 1, 0, 0, 0,      // absolute run, end of line
                                                            0, 2, 1, 0, 1, 2, 0, 1})});  // delta, run, end
    BitmapLayout rle4 = layout(6, 2, 4);
    rle4.compression = 2;
    rle4.palette.assign(greys.begin(), greys.begin() + 16);
    samples.push_back({"rle4", true,
                       WriteBitmapData(rle4, {3, 0x12, 0, 0,              // run of 1 2 1
                                              0, 5, 0x34, 0x5F, 0x60, 0,  // absolute 3 4 5 15 6
                                              0, 0, 0, 1})});
    return samples;
}
