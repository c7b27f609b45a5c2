// Reductions of colour images: the box reduction, which averages a (bw + 1) x (bh + 1) box
// of source pixels per destination pixel (bw, bh the integer parts of the scale, so a
// reduction by exactly 2 averages 3 x 3 pixels, the boxes at the right and bottom edges
// repeating the last source column and row), and the 16-sample reduction, which averages a
// 4 x 4 grid of samples spread over each destination pixel's share of the source.
//
// Positions are 10-bit fixed point. A reduction to or from an empty image does nothing.
#pragma once

#include "raster/ImageRect.h"
#include "raster/TMTC.h"

namespace pv {

// Blue, green and red averaged and stored, the destination's alpha kept; false when there is
// nothing to do. The rectangle form computes only the destination pixels of rect (clipped).
bool ReduceBox(const TMTC &source, TMTC &dest);
bool ReduceBox(const TMTC &source, TMTC &dest, SExtent rect);

// All four bytes averaged and stored.
bool ReduceBy16Samples(const TMTC &source, TMTC &dest);

} // namespace pv
