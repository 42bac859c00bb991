#include "tests/renderer/assets/posix_bitmap_platform.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

bool OpenablePosix(const char* fileName) {
    FILE* file = fopen(fileName, "r");
    if (!file) return false;
    fclose(file);
    return true;
}

bool MapFilePosix(const char* fileName, MappedFile* file) {
    *file = MappedFile();
    const int fd = open(fileName, O_RDONLY);
    if (fd < 0) return false;
    struct stat info;
    void* view = MAP_FAILED;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        view = mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (view == MAP_FAILED) return false;
    file->data = static_cast<const uint8_t*>(view);
    file->size = size_t(info.st_size);
    return true;
}

void UnmapFilePosix(MappedFile* file) {
    if (file->data) munmap(const_cast<uint8_t*>(file->data), file->size);
    *file = MappedFile();
}

void ShowErrorPosix(const char* text) {
    fprintf(stderr, "Error: %s\n", text);
}

const BitmapPlatform Platform = {OpenablePosix, MapFilePosix, UnmapFilePosix, ShowErrorPosix};

}  // namespace

const BitmapPlatform& PosixBitmapPlatform() {
    return Platform;
}
