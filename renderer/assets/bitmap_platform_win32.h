// The bitmap reader's platform on Windows: a read-only file mapping and a
// modal "Error" message box, both through the wide-character calls.
#pragma once
#include "renderer/assets/bitmap_file.h"

struct Win32BitmapPlatform : BitmapPlatform {
    bool Openable(const char* fileName) override;
    bool MapFile(const char* fileName, MappedFile* file) override;
    void UnmapFile(MappedFile* file) override;
    // Owned by the focused window: at start-up the full-screen renderer window.
    void ShowError(const char* text) override;
};
