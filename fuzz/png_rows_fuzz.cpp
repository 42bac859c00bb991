// libFuzzer target: any bytes given to the PNG row reader, in pieces of
// varying size, give at most the header's rows, each whole, or a failure.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "host/startup/png_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t at = 0, turn = 0;
    PngRowReader reader([&](uint8_t* into, size_t most) {
        const size_t n = std::min({most, size - at, size_t(1) + turn++ % 13});
        memcpy(into, data + at, n);
        at += n;
        return n;
    });
    PngHeader header;
    if (reader.ReadHeader(header) != PngError::None) return 0;
    if (header.Width == 0 || header.Width > MostPngWidth) abort();
    uint64_t rows = 0;
    const PngError error = reader.ReadRows([&](const uint8_t* bgr) {
        // Touch both ends of the row so that a short one shows.
        volatile uint8_t sink = bgr[0];
        sink = bgr[size_t(header.Width) * 3 - 1];
        (void)sink;
        return ++rows <= header.Height;
    });
    if (rows > header.Height || (error == PngError::None && rows != header.Height)) abort();
    return 0;
}
