#include "renderer/assets/bitmap_file.h"

namespace {

constexpr const char* OpenFailedFormat = "Failed to open DIB file %s.\n";

}  // namespace

std::string OpenFailedMessage(const char* fileName) {
    // The name is put in by hand, not through printf, so a '%' in it is harmless.
    std::string message = OpenFailedFormat;
    message.replace(message.find("%s"), 2, fileName ? fileName : "");
    return message;
}

BitmapImage* DecodeBitmap(const char* fileName, BitmapPlatform& platform) {
    MappedFile file;
    if (!fileName || !platform.MapFile(fileName, &file)) {
        platform.ShowError(OpenFailedMessage(fileName).c_str());
        return nullptr;
    }
    BitmapImage* image = nullptr;
    const DecodeError error = DecodeBitmapBytes(file.Data, file.Size, &image);
    if (error != DecodeError::None) platform.ShowError(DecodeErrorMessage(error));
    platform.UnmapFile(&file);
    return image;
}

BitmapImage* LoadBitmapFile(const char* fileName, BitmapPlatform& platform) {
    if (!fileName) return nullptr;
    // A file the C runtime cannot open ends the load without a message.
    if (!platform.Openable(fileName)) return nullptr;
    return DecodeBitmap(fileName, platform);
}
