// Writes the decoder tests' sample bitmaps into a folder, as fuzzing seeds.
#include <cstdio>
#include <string>

#include "tests/renderer/assets/bitmap_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    for (const SampleBitmap& sample : SampleBitmaps()) {
        const std::string path = std::string(argv[1]) + "/" + sample.name + ".bmp";
        FILE* file = fopen(path.c_str(), "wb");
        if (!file || fwrite(sample.bytes.data(), 1, sample.bytes.size(), file) != sample.bytes.size()) {
            fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        fclose(file);
    }
    return 0;
}
