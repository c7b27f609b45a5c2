// Flips, quarter turns and reductions of block-tiled colour images.
#include "raster/CBlockVMTC.h"

#include "raster/ImageGeometry.h"

namespace pv {
namespace {

// The pixel of a quarter turn: dest (i, j) of a w x h source.
inline uint32_t RotatedSource(const CBlockVMTC &source, int32_t i, int32_t j, bool clockwise)
{
    return clockwise ? source.Pixel(j, source.Height() - 1 - i) : source.Pixel(source.Width() - 1 - j, i);
}

// Averages the four channels of the samples given by sample(k) for k < count.
template <class Sample> uint32_t Average(int32_t count, Sample &&sample)
{
    uint32_t b = 0, g = 0, r = 0, a = 0;
    for (int32_t k = 0; k < count; ++k) {
        const uint32_t p = sample(k);
        b += p & 0xFF;
        g += (p >> 8) & 0xFF;
        r += (p >> 16) & 0xFF;
        a += p >> 24;
    }
    return (b / count) | ((g / count) << 8) | ((r / count) << 16) | ((a / count) << 24);
}

template <class Operation> bool ThroughPlainImage(CBlockVMTC &image, SExtent rect, Operation &&operation)
{
    TMTC whole(image.Width(), image.Height());
    if (!whole.IsValid() || !image.DrawInto(whole, {0, 0}))
        return false;
    if (!operation(whole, rect))
        return false;
    const bool ok = image.WriteFrom(whole, {0, 0}, 255, {0, 0, image.Width(), image.Height()});
    image.Compact();
    return ok;
}

} // namespace

bool CBlockVMTC::FlipHorizontal(SExtent rect)
{
    return ThroughPlainImage(*this, rect, [](TMTC &m, SExtent r) { return pv::FlipHorizontal(m, r); });
}

bool CBlockVMTC::FlipVertical(SExtent rect)
{
    return ThroughPlainImage(*this, rect, [](TMTC &m, SExtent r) { return pv::FlipVertical(m, r); });
}

bool CBlockVMTC::Rotate180(SExtent rect)
{
    return ThroughPlainImage(*this, rect, [](TMTC &m, SExtent r) { return pv::Rotate180(m, r); });
}

bool CBlockVMTC::Rotate90Into(TMTC &dest, bool clockwise) const
{
    if (!IsValid() || !dest.Resize(Height(), Width()))
        return false;
    for (int32_t j = 0; j < dest.Height(); ++j) {
        uint32_t *row = dest.RowPixels(j);
        for (int32_t i = 0; i < dest.Width(); ++i)
            row[i] = RotatedSource(*this, i, j, clockwise);
    }
    return true;
}

bool CBlockVMTC::Rotate90Into(CBlockVMTC &dest, SPoint point, bool clockwise) const
{
    if (!IsValid() || !dest.IsValid())
        return false;
    bool ok = true;
    for (int32_t j = 0; j < Width(); ++j)
        for (int32_t i = 0; i < Height(); ++i) {
            const int32_t x = point.x + i, y = point.y + j;
            if (dest.Contains(x, y))
                ok = dest.WritePixel(x, y, RotatedSource(*this, i, j, clockwise)) && ok;
        }
    return ok;
}

bool CBlockVMTC::ReduceInto(TMTC &dest, SExtent destRect, SExtent window) const
{
    if (!IsValid() || !dest.IsValid())
        return false;
    return ForEachReducedPixel(dest.Width(), dest.Height(), destRect, window,
                               [&](int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t boxW, int32_t boxH) {
                                   dest.At(x, y) = Average(boxW * boxH, [&](int32_t k) {
                                       return ClampedPixel(sx + k % boxW, sy + k / boxW);
                                   });
                               });
}

bool CBlockVMTC::ReduceInto(CBlockVMTC &dest) const
{
    if (!IsValid() || !dest.IsValid() || dest.Width() == 0 || dest.Height() == 0)
        return false;
    const SixteenSamples at(Width(), Height(), dest.Width(), dest.Height());
    bool ok = true;
    for (int32_t y = 0; y < dest.Height(); ++y)
        for (int32_t x = 0; x < dest.Width(); ++x) {
            const uint32_t p = Average(16, [&](int32_t k) { return ClampedPixel(at.X(x, k % 4), at.Y(y, k / 4)); });
            ok = dest.WritePixel(x, y, p) && ok;
        }
    dest.Compact();
    return ok;
}

} // namespace pv
