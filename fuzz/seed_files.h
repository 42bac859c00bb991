// A seed writer's whole work: sample files, each under its own name, into
// the folder given on the command line.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct SeedFile {
    std::string Name;  // with its extension
    const std::vector<uint8_t>* Bytes;
};

inline int WriteSeedFiles(int argc, char** argv, const std::vector<SeedFile>& seeds) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    for (const SeedFile& seed : seeds) {
        const std::string path = std::string(argv[1]) + "/" + seed.Name;
        FILE* file = fopen(path.c_str(), "wb");
        const bool written = file && fwrite(seed.Bytes->data(), 1, seed.Bytes->size(), file) == seed.Bytes->size();
        if (file) fclose(file);
        if (!written) {
            fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
