// The bitmap reader's platform on Windows: a read-only file mapping and a
// modal "Error" message box.
#pragma once
#include "renderer/assets/bitmap_file.h"

const BitmapPlatform& Win32BitmapPlatform();
