// Analyses of a TChannel: the bounding box of its non-zero pixels, edge marking and the
// one-pixel outline ring around every non-zero region.
#include "raster/TChannel.h"

#include "raster/PixelLoops.h"

#include <algorithm>

namespace pv {

namespace {

// Marks the first and last pixel of every interior run of zeros along one line of n pixels
// (the pixel at index i being *at(i)) with ring.
template <class At>
void MarkRunEnds(int32_t n, uint8_t ring, At &&at)
{
    int32_t i = 0;
    while (i < n) {
        if (*at(i) != 0) {
            ++i;
            continue;
        }
        const int32_t j = i;
        while (i < n && *at(i) == 0)
            ++i;
        if (j > 0)
            *at(j) = ring;
        if (i < n)
            *at(i - 1) = ring;
    }
}

} // namespace

bool TChannel::BoundingBox(SEdgeRect &out) const
{
    if (!IsValid())
        return false;
    int32_t left = width_, right = -1;
    for (int32_t y = 0; y < height_; ++y) {
        const uint8_t *p = Row(y);
        for (int32_t x = 0; x < width_; ++x) {
            if (p[x] != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    if (right < 0)
        return false;
    int32_t top = -1, bottom = -1;
    for (int32_t y = 0; y < height_; ++y) {
        const uint8_t *p = Row(y);
        for (int32_t x = left; x <= right; ++x) {
            if (p[x] != 0) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
        }
    }
    out = {left, top, right + 1, bottom + 1};
    return true;
}

void TChannel::MarkEdges(ChannelEdgeVisitor visitor)
{
    if (!IsValid())
        return;
    for (int32_t y = 0; y < height_; ++y) {
        uint8_t *p = Row(y);
        for (int32_t x = 0; x < width_; ++x) {
            if (p[x] == 0)
                continue;
            const bool border = x == 0 || y == 0 || x == width_ - 1 || y == height_ - 1;
            const bool edge = border || p[x - 1] == 0 || p[x + 1] == 0 || At(x, y - 1) == 0 || At(x, y + 1) == 0;
            visitor(p + x, edge ? 1 : 0);
        }
    }
}

void SetInteriorTo255(uint8_t *pixel, int edge)
{
    if (edge == 0)
        *pixel = 255;
}

void TChannel::OutlineRing(uint8_t inside, uint8_t ring)
{
    ForEachPixel<uint8_t>(*this, {0, 0, width_, height_}, [inside](uint8_t *p) {
        if (*p != 0)
            *p = inside;
    });
    if (!IsValid())
        return;
    for (int32_t y = 0; y < height_; ++y) {
        uint8_t *row = Row(y);
        MarkRunEnds(width_, ring, [row](int32_t i) { return row + i; });
    }
    for (int32_t x = 0; x < width_; ++x)
        MarkRunEnds(height_, ring, [this, x](int32_t i) { return &At(x, i); });
}

} // namespace pv
