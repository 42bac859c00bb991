// Writes the reader tests' sample PNG files into a folder, as fuzzing seeds.
#include "fuzz/seed_files.h"
#include "tests/host/startup/png_writer.h"

int main(int argc, char** argv) {
    const auto samples = SamplePngs();
    std::vector<SeedFile> seeds;
    for (const auto& sample : samples) seeds.push_back({sample.first + ".png", &sample.second});
    return WriteSeedFiles(argc, argv, seeds);
}
