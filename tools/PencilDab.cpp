// The pencil: discs for the first dabs of a stroke, then anti-aliased spans across the
// segment; everything goes into the coverage channel and is composited with the pen colour
// after each segment.
#include "tools/Dabs.h"

#include "raster/Discs.h"
#include "raster/PixelWriters.h"
#include "tools/PixelPipeline.h"

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

// One span of row `row` (a column when `vertical`) from a to b.
void Span(TChannel &channel, bool vertical, int32_t row, double a, double b, double opacity)
{
    const int32_t rows = vertical ? channel.Width() : channel.Height();
    const int32_t length = vertical ? channel.Height() : channel.Width();
    if (row < 0 || row >= rows || !(b > a))
        return;
    int32_t first = int32_t(std::floor(a));
    const int32_t last = int32_t(std::ceil(b)) - 1;
    const auto value = [opacity](double share) { return uint8_t(std::clamp(opacity * share * 255.0, 0.0, 255.0)); };
    const ChannelWriter write = CurrentPixelWriters().channel;
    const auto put = [&](int32_t i, uint8_t v) {
        if (v)
            vertical ? write(channel, row, i, 255, v) : write(channel, i, row, 255, v);
    };
    if (first == last) {
        put(first, value(b - a));
        return;
    }
    uint8_t firstValue = value(double(first) + 1 - a);
    if (first < 0) { // cut off on the left: the first visible pixel is fully covered
        first = 0;
        firstValue = value(1);
    }
    if (first > last || first >= length)
        return;
    put(first, firstValue);
    const uint8_t middle = value(1);
    const int32_t end = std::min(last, length);
    if (PlainCoverage() && middle) {
        // Without a mask or tone the writer keeps the larger coverage: the run is a maximum.
        if (vertical) {
            for (int32_t i = first + 1; i < end; ++i)
                channel.At(row, i) = std::max(channel.At(row, i), middle);
        } else if (first + 1 < end) {
            uint8_t *run = &channel.At(first + 1, row);
            for (int32_t i = 0; i < end - first - 1; ++i)
                run[i] = std::max(run[i], middle);
        }
    } else {
        for (int32_t i = first + 1; i < end; ++i)
            put(i, middle);
    }
    if (last > first && last < length)
        put(last, value(1 - (double(last) + 1 - b)));
}

// Rows (or columns) across the disc: c is the coordinate along the rows, d across them.
void Spans(TChannel &channel, bool vertical, double c, double d, double r, double o)
{
    if (!(o > 0))
        return;
    if (r < 0.5f) {
        Span(channel, vertical, int32_t(std::floor(d)), c - r, c + r, o / 2);
        return;
    }
    const int32_t j0 = int32_t(std::floor(d - r)), j1 = int32_t(std::ceil(d + r)) - 1;
    for (int32_t j = j0; j <= j1; ++j) {
        const double radicand = r * r - (double(j) - d) * (double(j) - d);
        if (!(radicand > 0))
            continue;
        double share = 1;
        if (j == j0 && j == j1)
            share = 2 * r;
        else if (j == j0)
            share = double(j0) + 1 - (d - r);
        else if (j == j1)
            share = (d + r) - double(j1);
        const double w = std::sqrt(radicand);
        Span(channel, vertical, j, c - w, c + w, o * share);
    }
}

} // namespace

void HorizontalSpans(TChannel &channel, float x, float y, float radius, float opacity)
{
    Spans(channel, false, x, y, radius, opacity);
}

void VerticalSpans(TChannel &channel, float x, float y, float radius, float opacity)
{
    Spans(channel, true, y, x, radius, opacity);
}

void PencilDab(DabContext &dab, float x, float y, float opacity, float radius)
{
    TChannel &channel = dab.image.coverage;
    if (radius < 3) {
        HorizontalSpans(channel, x, y, radius, opacity);
        VerticalSpans(channel, x, y, radius, opacity);
    } else if (dab.track.dabs < 5) {
        ChannelDisc(channel, 255, true, opacity, radius, x, y);
    } else if (dab.xMajor) {
        VerticalSpans(channel, x, y, radius, opacity);
    } else {
        HorizontalSpans(channel, x, y, radius, opacity);
    }
}

} // namespace pv
