// Writes the decoder tests' sample bitmaps into a folder, as fuzzing seeds.
#include "fuzz/seed_files.h"
#include "tests/renderer/assets/bitmap_writer.h"

int main(int argc, char** argv) {
    const std::vector<SampleBitmap> samples = SampleBitmaps();
    std::vector<SeedFile> seeds;
    for (const SampleBitmap& sample : samples) seeds.push_back({sample.name + ".bmp", &sample.bytes});
    return WriteSeedFiles(argc, argv, seeds);
}
