// The colour area average of a whole destination rectangle, row by row through spans
// prepared once: exact integer sums where every span is made of whole pixels, vector
// kernels for halving and enlarging, and single-precision sums over rows converted to
// floats once otherwise. Every path stores the bytes of the per-pixel average.
#pragma once

#include "raster/AreaSpans.h"
#include "raster/TMTC.h"

namespace pv {

// Destination pixel (destX + k, destY + j) becomes the average of column span k and row
// span j of the source; pixels whose span is empty are left alone.
void AverageColourRows(const TMTC &source, TMTC &dest, const AreaSpans &columns, const AreaSpans &rows, int32_t destX,
                       int32_t destY);

// floor(sum / n) for a sum of whole pixels: 0 <= sum <= 255 n, 1 <= n < 65536.
class WholeQuotient {
public:
    explicit WholeQuotient(uint32_t n) : n_(n), reciprocal_(((uint64_t(1) << 40) + n - 1) / n) {}
    uint32_t n() const { return n_; }
    uint32_t operator()(uint32_t sum) const { return uint32_t((uint64_t(sum) * reciprocal_) >> 40); }

private:
    uint32_t n_;
    uint64_t reciprocal_;
};

} // namespace pv
