// The build platform's file mapping, with the decoder's messages recorded
// instead of shown.
#pragma once
#include <string>
#include <vector>

#include "renderer/assets/bitmap_file.h"

BitmapPlatform& TestBitmapPlatform();

// Messages "shown" through TestBitmapPlatform, oldest first.
std::vector<std::string>& ShownErrors();

// A path in the temporary folder, distinct per test process, so that test
// runs of several builds at once do not share files.
std::string TempFilePath(const std::string& name);
