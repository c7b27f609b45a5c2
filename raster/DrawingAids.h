// Drawing aids of dialogs and tool windows, written into colour images: checkerboards (the
// backdrop of transparent previews), lines whose operator parameter runs from one end to the
// other, and bevel frames.
#pragma once

#include "raster/TMTC.h"

namespace pv {

// Cells counted from the rectangle's origin; cell (row r, column c) gets a when r + c is odd,
// b when even; edge cells are cut. False for an empty clip or a cell size below 1.
bool CheckerboardAnchored(TMTC &image, SExtent rect, int32_t cellSize, uint32_t a, uint32_t b);
// The same with cells aligned to multiples of the cell size in image coordinates.
bool CheckerboardAbsolute(TMTC &image, SExtent rect, int32_t cellSize, uint32_t a, uint32_t b);

// op(pixel, colour, parameter) along the line from (x0, y0) to (x1, y1), the parameter
// running from p0 to p1; points outside the image are skipped.
void LineWithParameter(TMTC &image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, ColourOp op, uint32_t colour,
                       int p0, int p1);

// Top and left edges in colour a, right and bottom edges in colour c; a rectangle one
// pixel wide or high is one line in colour a.
void BevelFrame(TMTC &image, SExtent rect, ColourOp op, uint32_t a, int parameter, uint32_t c);

} // namespace pv
