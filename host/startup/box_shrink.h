// Shrinks a picture that arrives a row at a time (B G R triples, top row
// first) to a size no larger than its own, each pixel the average of the area
// of the picture it covers. Holds one row of sums, never the picture.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

class BoxShrink {
public:
    // Takes target row y (0 at the top) of toWidth B G R triples.
    using RowSink = std::function<void(uint32_t y, const uint8_t* bgr)>;

    // Each target dimension is between 1 and the source's; fromWidth is below 2^24.
    BoxShrink(uint32_t fromWidth, uint32_t fromHeight, uint32_t toWidth, uint32_t toHeight, RowSink sink);
    // The next source row, fromWidth triples.
    void AddRow(const uint8_t* bgr);

private:
    void Emit();

    uint32_t fromWidth_, fromHeight_, toWidth_, toHeight_;
    RowSink sink_;
    // Where each source column goes: its first target column and how much of
    // it falls there (of toWidth_); the rest falls in the next column.
    std::vector<uint32_t> column_, columnShare_;
    std::vector<uint32_t> across_;  // one source row shrunk across (32 bits: cheap on i686)
    std::vector<uint64_t> sums_;    // the target row so far
    std::vector<uint8_t> out_;
    uint32_t fromY_ = 0, toY_ = 0;
};
