// Checkerboards, parameter lines and bevel frames.
#include "raster/DrawingAids.h"

#include <algorithm>
#include <cstdlib>

namespace pv {

namespace {

// Fills the clipped rect with a or b by the parity of the cell indices of each pixel,
// cells counted from origin.
bool Checkerboard(TMTC &image, SExtent rect, SPoint origin, int32_t cellSize, uint32_t a, uint32_t b)
{
    if (cellSize < 1 || !image.IsValid() || !ClipToImage(rect, image.Width(), image.Height()))
        return false;
    for (int32_t y = rect.y; y < rect.y + rect.height; ++y) {
        uint32_t *row = image.RowPixels(y);
        const int64_t cellRow = (int64_t(y) - origin.y) / cellSize;
        for (int32_t x = rect.x; x < rect.x + rect.width; ++x)
            row[x] = ((cellRow + (int64_t(x) - origin.x) / cellSize) & 1) != 0 ? a : b;
    }
    return true;
}

} // namespace

bool CheckerboardAnchored(TMTC &image, SExtent rect, int32_t cellSize, uint32_t a, uint32_t b)
{
    return Checkerboard(image, rect, {rect.x, rect.y}, cellSize, a, b);
}

bool CheckerboardAbsolute(TMTC &image, SExtent rect, int32_t cellSize, uint32_t a, uint32_t b)
{
    return Checkerboard(image, rect, {0, 0}, cellSize, a, b);
}

void LineWithParameter(TMTC &image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, ColourOp op, uint32_t colour,
                       int p0, int p1)
{
    if (!image.IsValid())
        return;
    const int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
    const int64_t n = std::max(std::llabs(dx), std::llabs(dy));
    for (int64_t h = 0; h <= n; ++h) {
        const int64_t x = x0 + (n == 0 ? 0 : h * dx / n);
        const int64_t y = y0 + (n == 0 ? 0 : h * dy / n);
        const int64_t parameter = p0 + (n == 0 ? 0 : (int64_t(p1) - p0) * h / n);
        if (x >= 0 && y >= 0 && x < image.Width() && y < image.Height())
            op(&image.At(int32_t(x), int32_t(y)), colour, int(parameter));
    }
}

void BevelFrame(TMTC &image, SExtent r, ColourOp op, uint32_t a, int parameter, uint32_t c)
{
    if (r.width <= 0 || r.height <= 0)
        return;
    const int32_t right = r.x + r.width - 1, bottom = r.y + r.height - 1;
    if (r.width == 1 || r.height == 1) {
        LineWithParameter(image, r.x, r.y, right, bottom, op, a, parameter, parameter);
        return;
    }
    LineWithParameter(image, r.x, r.y, right - 1, r.y, op, a, parameter, parameter);
    LineWithParameter(image, r.x, bottom, r.x, r.y + 1, op, a, parameter, parameter);
    LineWithParameter(image, right, r.y, right, bottom - 1, op, c, parameter, parameter);
    LineWithParameter(image, right, bottom, r.x + 1, bottom, op, c, parameter, parameter);
}

} // namespace pv
