#include "renderer/frame/bilinear_upscale.h"

#include <algorithm>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int WeightBits = 7;
constexpr int WeightOne = 1 << WeightBits;

// Where a target pixel's centre falls in the source, in 1/128ths of a pixel (rounded),
// kept within the first and last source pixels' centres.
struct Sample {
    int First;   // source pixel index
    int Weight;  // of the pixel after it, 0..127
};

Sample SampleFor(int target, int targetLength, int sourceLength) {
    const long long position =
        ((2LL * target + 1) * sourceLength * WeightOne + targetLength) / (2LL * targetLength) - WeightOne / 2;
    const long long kept = std::min<long long>(std::max(0LL, position), (sourceLength - 1LL) * WeightOne);
    return {int(kept >> WeightBits), int(kept & (WeightOne - 1))};
}

// Two source rows blended into one of 16-bit sums (at most 255 * 128).
void BlendRowsPlain(const uint8_t* upper, const uint8_t* lower, int weight, int bytes, uint16_t* into) {
    for (int i = 0; i < bytes; ++i) into[i] = uint16_t(upper[i] * (WeightOne - weight) + lower[i] * weight);
}

uint8_t Horizontal(const uint16_t* left, int weight, int channel) {
    const int sum = left[channel] * (WeightOne - weight) + left[4 + channel] * weight;
    return uint8_t((sum + (1 << (2 * WeightBits - 1))) >> (2 * WeightBits));
}

void SpreadRowPlain(const uint16_t* blended, const std::vector<Sample>& columns, uint8_t* row) {
    for (size_t x = 0; x < columns.size(); ++x) {
        const uint16_t* left = blended + columns[x].First * 4;
        for (int c = 0; c < 4; ++c) row[x * 4 + c] = Horizontal(left, columns[x].Weight, c);
    }
}

#if defined(__SSE2__)
void BlendRowsSse2(const uint8_t* upper, const uint8_t* lower, int weight, int bytes, uint16_t* into) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i upperWeight = _mm_set1_epi16(short(WeightOne - weight));
    const __m128i lowerWeight = _mm_set1_epi16(short(weight));
    int i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + i));
        const __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), upperWeight),
                                          _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), lowerWeight));
        const __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(a, zero), upperWeight),
                                           _mm_mullo_epi16(_mm_unpackhi_epi8(b, zero), lowerWeight));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(into + i), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(into + i + 8), high);
    }
    BlendRowsPlain(upper + i, lower + i, weight, bytes - i, into + i);
}

// One target pixel at a time: its two source pixels' 4 + 4 sums in one
// register, paired channel by channel, each pair times its two weights.
void SpreadRowSse2(const uint16_t* blended, const std::vector<Sample>& columns, uint8_t* row) {
    const __m128i round = _mm_set1_epi32(1 << (2 * WeightBits - 1));
    for (size_t x = 0; x < columns.size(); ++x) {
        const __m128i both = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blended + columns[x].First * 4));
        const __m128i paired = _mm_unpacklo_epi16(both, _mm_unpackhi_epi64(both, both));
        const int w = columns[x].Weight;
        const __m128i weights = _mm_set1_epi32(int(uint32_t(WeightOne - w) | (uint32_t(w) << 16)));
        const __m128i sums = _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(paired, weights), round), 2 * WeightBits);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sums, sums), sums);
        const int pixel = _mm_cvtsi128_si32(bytes);
        __builtin_memcpy(row + x * 4, &pixel, 4);
    }
}
#endif

using BlendRows = void (*)(const uint8_t*, const uint8_t*, int, int, uint16_t*);
using SpreadRow = void (*)(const uint16_t*, const std::vector<Sample>&, uint8_t*);

void Upscale(const PixelRows& source, const PixelRows& target, BlendRows blend, SpreadRow spread) {
    std::vector<Sample> columns(size_t(target.Width));
    for (int x = 0; x < target.Width; ++x) columns[x] = SampleFor(x, target.Width, source.Width);
    const int bytes = source.Width * 4;
    // One pixel more than a row, left zero: the last column's right neighbour,
    // read with weight 0.
    std::vector<uint16_t> blended(size_t(bytes) + 4);
    for (int y = 0; y < target.Height; ++y) {
        const Sample row = SampleFor(y, target.Height, source.Height);
        const uint8_t* upper = source.First + row.First * source.Stride;
        const uint8_t* lower = row.Weight ? upper + source.Stride : upper;
        blend(upper, lower, row.Weight, bytes, blended.data());
        spread(blended.data(), columns, target.First + y * target.Stride);
    }
}

}  // namespace

void UpscaleBilinearPlain(const PixelRows& source, const PixelRows& target) {
    Upscale(source, target, BlendRowsPlain, SpreadRowPlain);
}

void UpscaleBilinear(const PixelRows& source, const PixelRows& target) {
#if defined(__SSE2__)
    Upscale(source, target, BlendRowsSse2, SpreadRowSse2);
#else
    UpscaleBilinearPlain(source, target);
#endif
}
