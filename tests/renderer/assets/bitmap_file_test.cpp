#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "renderer/assets/bitmap_file.h"
#include "tests/renderer/assets/bitmap_writer.h"
#include "tests/renderer/assets/test_bitmap_platform.h"

namespace {

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = TempFilePath(name);
    FILE* file = fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr) << path;
    if (file) {
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    return path;
}

std::vector<uint8_t> Rgb24(int32_t width, int32_t height, uint32_t headerSize = 40) {
    BitmapLayout layout;
    layout.width = width;
    layout.height = height;
    layout.headerSize = headerSize;
    return WriteBitmap(layout, std::vector<uint32_t>(size_t(width) * height, 0x336699));
}

TEST(BitmapFile, OpenFailedMessageNamesTheFile) {
    EXPECT_EQ(OpenFailedMessage("C:\\Users\\me\\Ripplume.bmp"),
              "Failed to open DIB file C:\\Users\\me\\Ripplume.bmp.\n");
    EXPECT_EQ(OpenFailedMessage("100%s.bmp"), "Failed to open DIB file 100%s.bmp.\n");
}

TEST(BitmapFile, MissingFilesGiveNothingWithoutAMessage) {
    ShownErrors().clear();
    EXPECT_EQ(LoadBitmapFile(nullptr, TestBitmapPlatform()), nullptr);
    const std::string missing = TempFilePath("no-such-file.bmp");
    std::remove(missing.c_str());
    EXPECT_EQ(LoadBitmapFile(missing.c_str(), TestBitmapPlatform()), nullptr);
    EXPECT_TRUE(ShownErrors().empty());
}

TEST(BitmapFile, EachFailureShowsItsOneMessage) {
    std::vector<uint8_t> shortData = Rgb24(3, 2);
    shortData.pop_back();
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string message;
    } cases[] = {
        {"empty.bmp", {}, ""},
        {"v5.bmp", Rgb24(3, 2, 124), "Unknown DIB file format."},
        {"short.bmp", shortData, "Image file conversion error."},
        {"huge.bmp", Rgb24(20000, 1), "Out of memory."},
    };
    for (const auto& c : cases) {
        const std::string path = WriteTempFile(c.name, c.bytes);
        const std::string expected = c.message.empty() ? OpenFailedMessage(path.c_str()) : c.message;
        ShownErrors().clear();
        EXPECT_EQ(LoadBitmapFile(path.c_str(), TestBitmapPlatform()), nullptr) << c.name;
        EXPECT_EQ(ShownErrors(), std::vector<std::string>{expected}) << c.name;
        std::remove(path.c_str());
    }
}

TEST(BitmapFile, AValidFileDecodesSilently) {
    const std::string path = WriteTempFile("valid.bmp", Rgb24(5, 3));
    ShownErrors().clear();
    BitmapImage* image = LoadBitmapFile(path.c_str(), TestBitmapPlatform());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 5);
    EXPECT_EQ(image->height, 3);
    EXPECT_EQ(std::vector<uint8_t>(image->pixels, image->pixels + 3), RgbBytes({0x336699}));
    EXPECT_TRUE(ShownErrors().empty());
    FreeBitmapImage(image);
    std::remove(path.c_str());  // fails on Windows if the mapping were still open
    FILE* still = fopen(path.c_str(), "rb");
    EXPECT_EQ(still, nullptr);
    if (still) fclose(still);
}

}  // namespace
