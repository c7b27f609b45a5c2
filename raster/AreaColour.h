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

} // namespace pv
