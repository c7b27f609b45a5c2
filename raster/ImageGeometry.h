// Flips and the half turn of a rectangle of any image of the family (8- or 32-bit), through
// the row table so that both row orders give the same picture.
#pragma once

#include "raster/CDibCore.h"
#include "raster/ImageRect.h"

namespace pv {

// Rows top + i and bottom - 1 - i swap for i < height / 2.
bool FlipVertical(CDibCore &image, SExtent rect);
bool FlipVertical(CDibCore &image);
// In each row, pixels left + i and right - 1 - i swap for i < width / 2.
bool FlipHorizontal(CDibCore &image, SExtent rect);
// Pixel (left + i, top + j) swaps with (right - 1 - i, bottom - 1 - j).
bool Rotate180(CDibCore &image, SExtent rect);

} // namespace pv
