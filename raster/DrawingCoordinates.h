// Coordinates of the anti-aliased drawing primitives: floating point in pixel units, pixel
// (i, j) covering [i, i + 1) x [j, j + 1), converted to integers by truncation toward zero.
//
// A primitive draws nothing when a coordinate is not finite or lies beyond
// kMaxDrawingCoordinate: that bound keeps every squared distance in sub-pixel units, and
// every 16.16 position, well inside 64 bits, far beyond any image side.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pv {

constexpr double kMaxDrawingCoordinate = 16777216.0;

inline bool IsDrawable(double v)
{
    return std::isfinite(v) && std::fabs(v) <= kMaxDrawingCoordinate;
}

// Truncation toward zero of a drawable value (or of a small multiple of one).
inline int64_t Trunc(double v)
{
    return static_cast<int64_t>(v);
}

// Opacities and fading weights are fractions; anything outside 0-1 (or not a number) is
// brought into it so that the weights derived from them stay bytes.
inline double ClampFraction(double v)
{
    return v > 0 ? std::min(v, 1.0) : 0.0;
}

// The inclusive range first..last cut to 0..size - 1; false when nothing is left.
inline bool ClipRange(int64_t &first, int64_t &last, int64_t size)
{
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, size - 1);
    return first <= last;
}

} // namespace pv
