// The anti-aliased polygon fill of an 8-bit channel: value 255, keeping the larger value,
// even-odd rule (crossings are paired left to right, so a self-intersecting outline leaves
// its doubly covered parts empty).
//
// It scans twice: row runs between the crossings of every row, then column runs between
// the crossings of every column, each at four sub-lines a pixel; the runs' partial end
// pixels anti-alias the edges that are steep in each pass, and the two passes together
// cover every direction. Edges shallow to the scan move their crossing inwards by half
// their slope so that the run ends where the edge passes the line's middle.
#pragma once

#include "raster/ImageRect.h"
#include "raster/TChannel.h"

#include <span>

namespace pv {

// points is a closed outline (the first point repeated at the end); repeated points count
// once. Fewer than four points after that (less than a triangle) draws nothing.
void PolygonFill(TChannel &channel, std::span<const SPoint> points);

} // namespace pv
