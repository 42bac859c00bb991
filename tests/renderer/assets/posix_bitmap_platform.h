// The bitmap reader's file mapping on POSIX systems, for the native tests.
#pragma once
#include "renderer/assets/bitmap_file.h"

// MapFile uses mmap (an empty file cannot be mapped, as on Windows);
// ShowError prints to stderr.
const BitmapPlatform& PosixBitmapPlatform();
