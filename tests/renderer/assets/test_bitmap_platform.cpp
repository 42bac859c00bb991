#include "tests/renderer/assets/test_bitmap_platform.h"

#include <gtest/gtest.h>

#include <chrono>

#ifdef _WIN32
#include "renderer/frame/bitmap_platform_win32.h"
#else
#include "tests/renderer/assets/posix_bitmap_platform.h"
#endif

namespace {

const BitmapPlatform& BuildPlatform() {
#ifdef _WIN32
    return Win32BitmapPlatform();
#else
    return PosixBitmapPlatform();
#endif
}

void RecordError(const char* text) {
    ShownErrors().push_back(text);
}

}  // namespace

std::vector<std::string>& ShownErrors() {
    static std::vector<std::string> errors;
    return errors;
}

std::string TempFilePath(const std::string& name) {
    static const std::string unique = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    return ::testing::TempDir() + "ripplume-" + unique + "-" + name;
}

const BitmapPlatform& TestBitmapPlatform() {
    static const BitmapPlatform platform = {BuildPlatform().Openable, BuildPlatform().MapFile,
                                            BuildPlatform().UnmapFile, RecordError};
    return platform;
}
