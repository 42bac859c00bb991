#include "renderer/assets/bitmap_platform_posix.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

bool PosixBitmapPlatform::Openable(const char* fileName) {
    FILE* file = fopen(fileName, "r");
    if (!file) return false;
    fclose(file);
    return true;
}

bool PosixBitmapPlatform::MapFile(const char* fileName, MappedFile* file) {
    *file = MappedFile();
    const int fd = open(fileName, O_RDONLY);
    if (fd < 0) return false;
    struct stat info;
    void* view = MAP_FAILED;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        view = mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (view == MAP_FAILED) return false;
    file->Data = static_cast<const uint8_t*>(view);
    file->Size = size_t(info.st_size);
    return true;
}

void PosixBitmapPlatform::UnmapFile(MappedFile* file) {
    if (file->Data) munmap(const_cast<uint8_t*>(file->Data), file->Size);
    *file = MappedFile();
}

void PosixBitmapPlatform::ShowError(const char* text) {
    fprintf(stderr, "Error: %s\n", text);
}
