// Box and 16-sample reductions.
#include "raster/BoxReduce.h"

#include "raster/PixelMath.h"

#include <algorithm>

namespace pv {

namespace {

// One axis of a reduction from `from` to `to` pixels: the 10-bit step trunc(from / to x 1024)
// (exact in integers) and the box length trunc(from / to) + 1.
struct SAxis {
    int64_t step;
    int64_t box;
};

SAxis BoxAxis(int32_t from, int32_t to)
{
    return {int64_t(from) * 1024 / to, int64_t(from) / to + 1};
}

bool Reducible(const TMTC &source, const TMTC &dest)
{
    return source.IsValid() && dest.IsValid() && source.Width() > 0 && source.Height() > 0 && dest.Width() > 0 &&
           dest.Height() > 0;
}

// The sums of blue, green and red over `box` pixels of a row from x (clamped to the row).
void AddRowBox(const uint32_t *row, int64_t x, int64_t box, int64_t width, uint64_t sums[3])
{
    const int64_t end = std::min(x + box, width);
    for (int64_t i = x; i < end; ++i) {
        sums[0] += BlueOf(row[i]);
        sums[1] += GreenOf(row[i]);
        sums[2] += RedOf(row[i]);
    }
    const uint64_t repeats = uint64_t(x + box - end);
    sums[0] += repeats * BlueOf(row[width - 1]);
    sums[1] += repeats * GreenOf(row[width - 1]);
    sums[2] += repeats * RedOf(row[width - 1]);
}

} // namespace

bool ReduceBox(const TMTC &source, TMTC &dest)
{
    return ReduceBox(source, dest, {0, 0, dest.Width(), dest.Height()});
}

bool ReduceBox(const TMTC &source, TMTC &dest, SExtent rect)
{
    if (!Reducible(source, dest) || !ClipToImage(rect, dest.Width(), dest.Height()))
        return false;
    const int64_t sw = source.Width(), sh = source.Height();
    const SAxis ax = BoxAxis(source.Width(), dest.Width()), ay = BoxAxis(source.Height(), dest.Height());
    const uint64_t count = uint64_t(ax.box * ay.box);
    for (int32_t j = rect.y; j < rect.y + rect.height; ++j) {
        const int64_t y0 = std::min((ay.step * j) >> 10, sh - 1);
        uint32_t *out = dest.RowPixels(j);
        for (int32_t i = rect.x; i < rect.x + rect.width; ++i) {
            const int64_t x0 = std::min((ax.step * i) >> 10, sw - 1);
            uint64_t sums[3] = {0, 0, 0};
            for (int64_t t = 0; t < ay.box; ++t)
                AddRowBox(source.RowPixels(int32_t(std::min(y0 + t, sh - 1))), x0, ax.box, sw, sums);
            out[i] = (out[i] & 0xFF000000u) |
                     MakeColour(uint32_t(sums[2] / count), uint32_t(sums[1] / count), uint32_t(sums[0] / count), 0);
        }
    }
    return true;
}

bool ReduceBy16Samples(const TMTC &source, TMTC &dest)
{
    if (!Reducible(source, dest))
        return false;
    const int64_t sw = source.Width(), sh = source.Height(), dw = dest.Width(), dh = dest.Height();
    const int64_t sx = sw * 1024 / dw, sy = sh * 1024 / dh;
    const int64_t qx = sw * 256 / dw, qy = sh * 256 / dh;
    for (int64_t j = 0; j < dh; ++j) {
        uint32_t *out = dest.RowPixels(int32_t(j));
        for (int64_t i = 0; i < dw; ++i) {
            uint32_t sums[4] = {0, 0, 0, 0};
            for (int64_t t = 0; t < 4; ++t) {
                const int64_t y = std::min((sy * j + qy * t) >> 10, sh - 1);
                const uint32_t *row = source.RowPixels(int32_t(y));
                for (int64_t s = 0; s < 4; ++s) {
                    const uint32_t p = row[std::min((sx * i + qx * s) >> 10, sw - 1)];
                    sums[0] += BlueOf(p);
                    sums[1] += GreenOf(p);
                    sums[2] += RedOf(p);
                    sums[3] += AlphaOf(p);
                }
            }
            out[i] = MakeColour(sums[2] / 16, sums[1] / 16, sums[0] / 16, sums[3] / 16);
        }
    }
    return true;
}

} // namespace pv
