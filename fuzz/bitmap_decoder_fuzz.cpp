// libFuzzer target: any bytes given to the bitmap decoder either decode to a
// picture within the size cap or fail with an error and no picture.
#include <cstdlib>

#include "renderer/assets/bitmap_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BitmapImage* image = nullptr;
    const DecodeError error = DecodeBitmapBytes(data, size, &image);
    if (error != DecodeError::None) {
        if (image) abort();
        return 0;
    }
    if (!image || image->width <= 0 || image->height <= 0 ||
        int64_t(image->width) * image->height > (int64_t(64) << 20))
        abort();
    // Touch both ends of the pixel buffer so that a short allocation shows.
    volatile uint8_t sink = image->pixels[0];
    sink = image->pixels[size_t(image->width) * image->height * 3 - 1];
    (void)sink;
    FreeBitmapImage(image);
    return 0;
}
