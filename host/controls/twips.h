// Twips, the host's layout unit: 1/1440 inch, 15 to a pixel at 96 dots per inch.
#pragma once

constexpr int TwipsPerPixel = 15;

// Pixels from twips, rounded to the nearest pixel (halves away from zero).
constexpr int TwipsToPixels(int twips) {
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}
