// Lines on colour images, stepped one pixel at a time along their major axis with the
// minor coordinate in 16.16 fixed point; anti-aliased lines split each step's weight between
// the two pixels the minor coordinate falls between. Every pixel is written by the exact
// weighted colour set (alpha kept). Lines are cut to the image along the major axis.
//
// The minor step is d minor / (d major + 1), so a line falls a little short of its end point
// on the minor axis (from (0, 0) to (10, 5) it reaches y = 50 / 11 at x = 10). The fading
// line alone steps by the exact d x / d y when it is y-major and drawn downwards.
#pragma once

#include "raster/TMTC.h"

namespace pv {

void DrawLine(TMTC &image, uint32_t colour, bool antialias, double x0, double y0, double x1, double y1);

// The same with a weight (0-1) going linearly from weight0 at (x0, y0) to weight1 at
// (x1, y1), in steps of (weight1 - weight0) / (d major + 1).
void DrawFadingLine(TMTC &image, uint32_t colour, bool antialias, double x0, double y0, double weight0, double x1,
                    double y1, double weight1);

} // namespace pv
