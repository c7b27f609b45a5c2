// Row and column runs.
//
// In 1/64 pixel the run has centre o and half length m; pixel i holds the sub-positions
// 64 i .. 64 i + 63, of which those with |p - o| < m, i.e. o - m < p < o + m, count. The
// count is the length of that intersection, so no pixel is sampled one position at a time.
#include "raster/Runs.h"

#include "raster/DrawingCoordinates.h"

namespace pv {

namespace {

template <class PixelAt>
void Run(int32_t length, uint8_t value, double opacity, double start, double end, PixelAt &&pixelAt)
{
    if (!IsDrawable(start) || !IsDrawable(end))
        return;
    const int64_t half = Trunc((end - start) / 2 * 64);
    const int64_t centre = Trunc((start + end) / 2 * 64);
    const uint32_t full = uint32_t(Trunc(value * ClampFraction(opacity)));
    int64_t first = Trunc(start - 1), last = Trunc(end + 1);
    if (half <= 0 || !ClipRange(first, last, length))
        return;
    for (int64_t i = first; i <= last; ++i) {
        const int64_t lo = std::max(64 * i, centre - half + 1);
        const int64_t hi = std::min(64 * i + 63, centre + half - 1);
        const uint32_t covered = hi < lo ? 0 : uint32_t(hi - lo + 1);
        const uint32_t v = (covered * full) >> 6;
        uint8_t &pixel = pixelAt(int32_t(i));
        if (pixel < v)
            pixel = uint8_t(v); // the table mix at weight 255 stores the value
    }
}

} // namespace

void RowRun(TChannel &channel, int32_t row, uint8_t value, double opacity, double start, double end)
{
    if (channel.IsValid() && row >= 0 && row < channel.Height())
        Run(channel.Width(), value, opacity, start, end, [&](int32_t i) -> uint8_t & { return channel.At(i, row); });
}

void ColumnRun(TChannel &channel, int32_t column, uint8_t value, double opacity, double start, double end)
{
    if (channel.IsValid() && column >= 0 && column < channel.Width())
        Run(channel.Height(), value, opacity, start, end,
            [&](int32_t j) -> uint8_t & { return channel.At(column, j); });
}

} // namespace pv
