// Reading a bitmap file through the platform: a check that the file opens, a
// read-only view of it and a way to show the decoder's messages. File names
// are UTF-8 text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "renderer/assets/bitmap_decoder.h"

struct MappedFile {
    const uint8_t* Data = nullptr;
    size_t Size = 0;
    void* Handles[3] = {nullptr, nullptr, nullptr};  // platform's own bookkeeping
};

// Win32 (bitmap_platform_win32) and POSIX (bitmap_platform_posix); tests
// record the messages instead of showing them.
struct BitmapPlatform {
    virtual ~BitmapPlatform() = default;
    // True when the C runtime can open the file for reading.
    virtual bool Openable(const char* fileName) = 0;
    // Maps the whole file read-only; false when it cannot be opened, mapped or viewed.
    virtual bool MapFile(const char* fileName, MappedFile* file) = 0;
    virtual void UnmapFile(MappedFile* file) = 0;
    // Shows a decoder message to the user and returns once it is dismissed.
    virtual void ShowError(const char* text) = 0;
};

// The message for a file that could not be opened or mapped.
std::string OpenFailedMessage(const char* fileName);

// Maps and decodes the file; shows a message and returns null on any failure.
BitmapImage* DecodeBitmap(const char* fileName, BitmapPlatform& platform);

// As DecodeBitmap, but a file the C runtime cannot open gives null silently.
BitmapImage* LoadBitmapFile(const char* fileName, BitmapPlatform& platform);
