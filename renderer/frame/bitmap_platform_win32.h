// The bitmap reader's platform on Windows: a read-only file mapping and a
// modal "Error" message box, both through the wide-character calls.
#pragma once
#include "renderer/assets/bitmap_file.h"

const BitmapPlatform& Win32BitmapPlatform();
