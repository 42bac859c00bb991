// The decoder against bmpsuite, a corpus of bitmaps written by another
// program: g/ files are valid, q/ unusual, b/ broken on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "tests/renderer/assets/decode_result.h"

namespace {

namespace fs = std::filesystem;

const fs::path SuiteDir = RIPPLUME_BMPSUITE_DIR;

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> BitmapsIn(const std::string& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(SuiteDir / folder))
        if (entry.path().extension() == ".bmp") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | uint32_t(bytes[offset + 3]) << 24;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // top row first
};

// Binary PPM with maxval 255.
Picture ReadPpm(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    Picture picture;
    in >> magic >> picture.width >> picture.height >> maxval;
    in.get();
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(maxval, 255);
    picture.rgb.resize(size_t(picture.width) * picture.height * 3);
    in.read(reinterpret_cast<char*>(picture.rgb.data()), std::streamsize(picture.rgb.size()));
    EXPECT_TRUE(in.good()) << path;
    return picture;
}

// Largest difference of one channel, after turning the decoded rows (bottom
// row first) into the reference's order.
int MaxDifference(const DecodeResult& decoded, const Picture& reference) {
    const size_t rowBytes = size_t(decoded.width) * 3;
    int worst = 0;
    for (int row = 0; row < decoded.height; ++row)
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = decoded.rgb[(decoded.height - 1 - row) * rowBytes + i];
            const int b = reference.rgb[row * rowBytes + i];
            worst = std::max(worst, std::abs(a - b));
        }
    return worst;
}

TEST(BitmapCorpus, GoodFilesWithKnownHeadersMatchTheirReferences) {
    ASSERT_TRUE(fs::is_directory(SuiteDir / "g")) << SuiteDir << " (set RIPPLUME_BMPSUITE_DIR)";
    std::vector<std::string> refused;
    const std::vector<fs::path> files = BitmapsIn("g");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::vector<uint8_t> bytes = ReadFile(file);
        ASSERT_GE(bytes.size(), 30u);
        const uint32_t headerSize = Read32(bytes, 14);
        const DecodeResult decoded = Decode(bytes);
        if (headerSize != 40 && headerSize != 12) {
            EXPECT_EQ(decoded.error, DecodeError::UnknownFormat);
            refused.push_back(file.filename().string());
            continue;
        }
        ASSERT_EQ(decoded.error, DecodeError::None);
        fs::path reference = SuiteDir / "ref-ppm" / file.filename();
        const Picture expected = ReadPpm(reference.replace_extension(".ppm"));
        ASSERT_EQ(decoded.width, expected.width);
        ASSERT_EQ(decoded.height, expected.height);
        // 5- and 6-bit channels may be widened by another rule than ours.
        const int bitCount = bytes[headerSize == 12 ? 24 : 28];
        const int tolerance = bitCount == 16 ? 1 : 0;
        EXPECT_LE(MaxDifference(decoded, expected), tolerance);
    }
    EXPECT_EQ(refused, (std::vector<std::string>{"pal8v4.bmp", "pal8v5.bmp"}));
}

TEST(BitmapCorpus, QuestionableAndBadFilesDecodeOrFailCleanly) {
    // Files that must fail, and how; the rest may decode.
    const std::map<std::string, DecodeError> mustFail = {
        {"b/badbitcount.bmp", DecodeError::ConversionError},    {"b/badheadersize.bmp", DecodeError::UnknownFormat},
        {"b/badpalettesize.bmp", DecodeError::ConversionError}, {"b/badplanes.bmp", DecodeError::ConversionError},
        {"b/badwidth.bmp", DecodeError::ConversionError},       {"b/reallybig.bmp", DecodeError::OutOfMemory},
        {"b/rletopdown.bmp", DecodeError::ConversionError},     {"b/shortfile.bmp", DecodeError::ConversionError},
        {"q/rgba32abf.bmp", DecodeError::ConversionError},      {"q/rgba64.bmp", DecodeError::ConversionError},
        {"q/pal2.bmp", DecodeError::ConversionError},
    };
    size_t seen = 0;
    for (const std::string folder : {"q", "b"}) {
        ASSERT_TRUE(fs::is_directory(SuiteDir / folder)) << SuiteDir;
        for (const fs::path& file : BitmapsIn(folder)) {
            const std::string name = folder + "/" + file.filename().string();
            const DecodeResult decoded = Decode(ReadFile(file));
            const auto rule = mustFail.find(name);
            if (rule != mustFail.end()) {
                EXPECT_EQ(decoded.error, rule->second) << name;
                ++seen;
            } else if (decoded.error == DecodeError::None) {
                EXPECT_GT(decoded.width, 0) << name;
                EXPECT_GT(decoded.height, 0) << name;
                EXPECT_LE(int64_t(decoded.width) * decoded.height, int64_t(64) << 20) << name;
            }
        }
    }
    EXPECT_EQ(seen, mustFail.size());
}

}  // namespace
