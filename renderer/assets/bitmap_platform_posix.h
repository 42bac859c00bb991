// The bitmap reader's platform on POSIX systems, for the Linux display mode's
// tools and the native tests: mmap (an empty file cannot be mapped, as on
// Windows) and messages on standard error.
#pragma once
#include "renderer/assets/bitmap_file.h"

struct PosixBitmapPlatform : BitmapPlatform {
    bool Openable(const char* fileName) override;
    bool MapFile(const char* fileName, MappedFile* file) override;
    void UnmapFile(MappedFile* file) override;
    void ShowError(const char* text) override;
};
