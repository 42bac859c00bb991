// Writes the reader tests' sample PNG files into a folder, as fuzzing seeds.
#include <cstdio>
#include <string>

#include "tests/host/startup/png_writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    for (const auto& sample : SamplePngs()) {
        const std::string path = std::string(argv[1]) + "/" + sample.first + ".png";
        FILE* file = fopen(path.c_str(), "wb");
        if (!file || fwrite(sample.second.data(), 1, sample.second.size(), file) != sample.second.size()) {
            fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        fclose(file);
    }
    return 0;
}
