// AreaSpans: the spans of one axis of an area-averaging resample, worked out once per
// resample instead of once per destination pixel. For every destination column (or row) they
// hold a window of source pixels, the weight of each pixel in the window and the span's share
// of the divisor, exactly as the per-pixel average forms them: a left part, whole pixels
// (weight 1), a right part, or weight 1 and share 1 when the span lies within one pixel.
//
// Every window has the same length (the widest span); shorter spans get weight 0 for the
// pixels they do not cover, placed after the span or, at the far edge, before it. The sums of
// the average are non-negative, so adding the zero products anywhere leaves every rounding
// step, and so every result byte, unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pv {

struct AreaSpans {
    // The destination pixels from start (16.16) in steps of scale over a source side of
    // sourceSize pixels; the spans are clamped to the source as the per-pixel average does.
    void Build(int64_t start, int32_t scale, int32_t count, int32_t sourceSize);

    bool Covers(int32_t i) const { return first[size_t(i)] >= 0; }
    const float *Weights(int32_t i) const { return weights.data() + size_t(i) * size_t(window); }

    int32_t window = 0;          // source pixels per window
    bool whole = true;           // every weight is 0 or 1 and every share a whole number
    std::vector<int32_t> first;  // first source pixel of the window; -1 when the span is empty
    std::vector<float> weights;  // window weights per destination pixel
    std::vector<float> share;    // the span's factor of the divisor
};

} // namespace pv
