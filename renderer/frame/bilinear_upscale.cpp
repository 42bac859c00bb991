#include "renderer/frame/bilinear_upscale.h"

#include <algorithm>
#include <system_error>
#include <thread>
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

// Each source row is first spread to the target's width, in 16-bit sums (at
// most 255 * 128), once for the two target rows that read it; target rows
// then blend two such rows. The last column has no right neighbour: its
// weight is 0, and it is not read.
void SpreadPlain(const uint8_t* row, const Sample* columns, size_t count, uint16_t* into) {
    for (size_t x = 0; x < count; ++x) {
        const int w = columns[x].Weight;
        const uint8_t* left = row + columns[x].First * 4;
        const uint8_t* right = w ? left + 4 : left;
        for (int c = 0; c < 4; ++c) into[x * 4 + c] = uint16_t(left[c] * (WeightOne - w) + right[c] * w);
    }
}

void SpreadRowPlain(const uint8_t* row, const std::vector<Sample>& columns, uint16_t* into) {
    SpreadPlain(row, columns.data(), columns.size(), into);
}

void BlendRowsPlain(const uint16_t* upper, const uint16_t* lower, int weight, int count, uint8_t* row) {
    for (int i = 0; i < count; ++i) {
        const int sum = upper[i] * (WeightOne - weight) + lower[i] * weight;
        row[i] = uint8_t((sum + (1 << (2 * WeightBits - 1))) >> (2 * WeightBits));
    }
}

#if defined(__SSE2__)
// Two target pixels at a time: each one's two source pixels, times their weights.
void SpreadRowSse2(const uint8_t* row, const std::vector<Sample>& columns, uint16_t* into) {
    const __m128i zero = _mm_setzero_si128();
    const auto weights = [](int w) {
        return _mm_unpacklo_epi64(_mm_set1_epi16(short(WeightOne - w)), _mm_set1_epi16(short(w)));
    };
    // Pixels on the last source column go the plain way: its right neighbour
    // is past the row, not to be loaded.
    size_t end = columns.size();
    while (end > 0 && columns[end - 1].First == columns.back().First) --end;
    size_t x = 0;
    for (; x + 1 < end; x += 2) {
        const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns[x].First * 4));
        const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + columns[x + 1].First * 4));
        const __m128i p0 = _mm_mullo_epi16(_mm_unpacklo_epi8(a, zero), weights(columns[x].Weight));
        const __m128i p1 = _mm_mullo_epi16(_mm_unpacklo_epi8(b, zero), weights(columns[x + 1].Weight));
        const __m128i sums = _mm_add_epi16(_mm_unpacklo_epi64(p0, p1), _mm_unpackhi_epi64(p0, p1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(into + x * 4), sums);
    }
    SpreadPlain(row, columns.data() + x, columns.size() - x, into + x * 4);
}

// Sixteen channel values at a time: upper and lower paired, times their weights.
void BlendRowsSse2(const uint16_t* upper, const uint16_t* lower, int weight, int count, uint8_t* row) {
    const __m128i weights = _mm_set1_epi32(int(uint32_t(WeightOne - weight) | (uint32_t(weight) << 16)));
    const __m128i round = _mm_set1_epi32(1 << (2 * WeightBits - 1));
    const auto blend = [&](const uint16_t* a, const uint16_t* b) {
        const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
        const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
        const __m128i low =
            _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(u, l), weights), round), 2 * WeightBits);
        const __m128i high =
            _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(u, l), weights), round), 2 * WeightBits);
        return _mm_packs_epi32(low, high);
    };
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = _mm_packus_epi16(blend(upper + i, lower + i), blend(upper + i + 8, lower + i + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), bytes);
    }
    BlendRowsPlain(upper + i, lower + i, weight, count - i, row + i);
}
#endif

using SpreadRow = void (*)(const uint8_t*, const std::vector<Sample>&, uint16_t*);
using BlendRows = void (*)(const uint16_t*, const uint16_t*, int, int, uint8_t*);

// Target rows firstRow..endRow - 1; each row depends on nothing but the
// source, so parts of a picture can be scaled apart.
void UpscaleRows(const PixelRows& source, const PixelRows& target, const std::vector<Sample>& columns, int firstRow,
                 int endRow, SpreadRow spread, BlendRows blend) {
    const int count = target.Width * 4;
    // The spread rows of two source rows, and which rows they are.
    std::vector<uint16_t> spreadRows[2] = {std::vector<uint16_t>(size_t(count)), std::vector<uint16_t>(size_t(count))};
    int spreadOf[2] = {-1, -1};
    const auto spreadRow = [&](int sourceRow) -> const uint16_t* {
        for (int i = 0; i < 2; ++i)
            if (spreadOf[i] == sourceRow) return spreadRows[i].data();
        // Rows only move down: the one of lower number is done with.
        const int slot = spreadOf[0] < spreadOf[1] ? 0 : 1;
        spread(source.First + sourceRow * source.Stride, columns, spreadRows[slot].data());
        spreadOf[slot] = sourceRow;
        return spreadRows[slot].data();
    };
    for (int y = firstRow; y < endRow; ++y) {
        const Sample row = SampleFor(y, target.Height, source.Height);
        const uint16_t* upper = spreadRow(row.First);
        const uint16_t* lower = row.Weight ? spreadRow(row.First + 1) : upper;
        blend(upper, lower, row.Weight, count, target.First + y * target.Stride);
    }
}

std::vector<Sample> ColumnsFor(const PixelRows& source, const PixelRows& target) {
    std::vector<Sample> columns(size_t(target.Width));
    for (int x = 0; x < target.Width; ++x) columns[x] = SampleFor(x, target.Width, source.Width);
    return columns;
}

// A screen-sized picture takes milliseconds: its lower half is scaled on a
// second thread while this one does the upper, where the machine has two
// cores (the GL threads wait meanwhile).
constexpr int RowsWorthASecondThread = 256;

void UpscaleOnCores(const PixelRows& source, const PixelRows& target, SpreadRow spread, BlendRows blend) {
    const std::vector<Sample> columns = ColumnsFor(source, target);
    const int middle = target.Height / 2;
    if (target.Height >= RowsWorthASecondThread && std::thread::hardware_concurrency() > 1) {
        try {
            std::thread lower(UpscaleRows, std::cref(source), std::cref(target), std::cref(columns), middle,
                              target.Height, spread, blend);
            UpscaleRows(source, target, columns, 0, middle, spread, blend);
            lower.join();
            return;
        } catch (const std::system_error&) {
            // No thread to be had: all on this one.
        }
    }
    UpscaleRows(source, target, columns, 0, target.Height, spread, blend);
}

}  // namespace

void UpscaleBilinearPlain(const PixelRows& source, const PixelRows& target) {
    UpscaleRows(source, target, ColumnsFor(source, target), 0, target.Height, SpreadRowPlain, BlendRowsPlain);
}

void UpscaleBilinear(const PixelRows& source, const PixelRows& target) {
#if defined(__SSE2__)
    UpscaleOnCores(source, target, SpreadRowSse2, BlendRowsSse2);
#else
    UpscaleOnCores(source, target, SpreadRowPlain, BlendRowsPlain);
#endif
}
