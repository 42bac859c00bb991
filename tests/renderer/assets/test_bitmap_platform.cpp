#include "tests/renderer/assets/test_bitmap_platform.h"

#include <gtest/gtest.h>

#include <chrono>

#ifdef _WIN32
#include "renderer/assets/bitmap_platform_win32.h"
using BuildPlatform = Win32BitmapPlatform;
#else
#include "renderer/assets/bitmap_platform_posix.h"
using BuildPlatform = PosixBitmapPlatform;
#endif

namespace {

struct RecordingPlatform : BuildPlatform {
    void ShowError(const char* text) override { ShownErrors().push_back(text); }
};

}  // namespace

std::vector<std::string>& ShownErrors() {
    static std::vector<std::string> errors;
    return errors;
}

std::string TempFilePath(const std::string& name) {
    static const std::string unique = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    return ::testing::TempDir() + "ripplume-" + unique + "-" + name;
}

BitmapPlatform& TestBitmapPlatform() {
    static RecordingPlatform platform;
    return platform;
}
