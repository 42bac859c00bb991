#include "host/startup/box_shrink.h"

#include <algorithm>

// Coordinates are counted in units where a source pixel is `to` long and a
// target pixel `from` long, so both sizes span from * to units: a source
// pixel, never longer than a target one, falls in at most two of them.
BoxShrink::BoxShrink(uint32_t fromWidth, uint32_t fromHeight, uint32_t toWidth, uint32_t toHeight, RowSink sink)
    : fromWidth_(fromWidth),
      fromHeight_(fromHeight),
      toWidth_(toWidth),
      toHeight_(toHeight),
      sink_(std::move(sink)),
      column_(fromWidth),
      columnShare_(fromWidth),
      across_(size_t(toWidth) * 3),
      sums_(size_t(toWidth) * 3),
      out_(size_t(toWidth) * 3) {
    for (uint32_t x = 0; x < fromWidth_; ++x) {
        const uint64_t start = uint64_t(x) * toWidth_, end = start + toWidth_;
        column_[x] = uint32_t(start / fromWidth_);
        const uint64_t boundary = uint64_t(column_[x] + 1) * fromWidth_;
        columnShare_[x] = uint32_t(std::min(end, boundary) - start);
    }
}

void BoxShrink::AddRow(const uint8_t* bgr) {
    if (fromY_ >= fromHeight_) return;
    std::fill(across_.begin(), across_.end(), 0);
    for (uint32_t x = 0; x < fromWidth_; ++x) {
        uint32_t* to = &across_[size_t(column_[x]) * 3];
        const uint32_t share = columnShare_[x], rest = toWidth_ - share;
        for (int c = 0; c < 3; ++c) {
            to[c] += bgr[size_t(x) * 3 + c] * share;
            if (rest > 0) to[c + 3] += bgr[size_t(x) * 3 + c] * rest;
        }
    }
    const uint64_t start = uint64_t(fromY_) * toHeight_, end = start + toHeight_;
    const uint64_t boundary = uint64_t(toY_ + 1) * fromHeight_;
    const uint64_t share = std::min(end, boundary) - start, rest = toHeight_ - share;
    for (size_t i = 0; i < sums_.size(); ++i) sums_[i] += uint64_t(across_[i]) * share;
    ++fromY_;
    if (end >= boundary) {
        Emit();
        for (size_t i = 0; i < sums_.size(); ++i) sums_[i] = uint64_t(across_[i]) * rest;
    }
}

void BoxShrink::Emit() {
    if (toY_ >= toHeight_) return;
    const uint64_t area = uint64_t(fromWidth_) * fromHeight_;
    for (size_t i = 0; i < sums_.size(); ++i) out_[i] = uint8_t((sums_[i] + area / 2) / area);
    sink_(toY_++, out_.data());
}
