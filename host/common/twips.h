// Twips, the host's layout unit: 1/1440 inch. How many make a pixel depends
// on the display's resolution (15 at 96 dots per inch, 10 at 144), so the
// conversions take the resolution in dots per inch.
#pragma once

constexpr int TwipsPerInch = 1440;
// The resolution pictures are drawn for: a picture pixel is always 15 twips.
constexpr int PictureDpi = 96;

namespace twips_detail {
// a / b for b > 0, rounded to the nearest whole number, halves away from zero.
constexpr long long DivideRounded(long long a, long long b) {
    return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b));
}
}  // namespace twips_detail

// Pixels from twips at dpi (positive) dots per inch, rounded to the nearest
// pixel, halves away from zero.
constexpr int TwipsToPixels(int twips, int dpi) {
    return int(twips_detail::DivideRounded(static_cast<long long>(twips) * dpi, TwipsPerInch));
}

// Twips from pixels at dpi dots per inch, rounded the same way.
constexpr int PixelsToTwips(int pixels, int dpi) {
    return int(twips_detail::DivideRounded(static_cast<long long>(pixels) * TwipsPerInch, dpi));
}
