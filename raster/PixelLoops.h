// Loop templates of the image operations: the row pointer is taken once per row through the
// row table, then the loop advances by whole pixels.
#pragma once

#include "raster/CDibCore.h"
#include "raster/ImageRect.h"

namespace pv {

// Calls f(pixel pointer) for every pixel of rect (clipped); false when nothing is left.
template <class Pixel, class F>
bool ForEachPixel(const CDibCore &image, SExtent rect, F &&f)
{
    if (!image.IsValid() || !ClipToImage(rect, image.Width(), image.Height()))
        return false;
    for (int32_t y = rect.y; y < rect.y + rect.height; ++y) {
        Pixel *p = reinterpret_cast<Pixel *>(image.Row(y)) + rect.x;
        for (int32_t i = 0; i < rect.width; ++i)
            f(p + i);
    }
    return true;
}

// Calls f(dest row pointer, source row pointer, width, source x, source y) for each row of
// a copy, clipped as copies are (source rectangle and destination point together).
template <class DestPixel, class SourcePixel, class F>
bool ForEachRowPairAt(const CDibCore &dest, const CDibCore &source, SPoint point, SExtent rect, F &&f)
{
    if (!dest.IsValid() || !source.IsValid() ||
        !ClipCopy(point, rect, source.Width(), source.Height(), dest.Width(), dest.Height()))
        return false;
    for (int32_t j = 0; j < rect.height; ++j)
        f(reinterpret_cast<DestPixel *>(dest.Row(point.y + j)) + point.x,
          reinterpret_cast<const SourcePixel *>(source.Row(rect.y + j)) + rect.x, rect.width, rect.x,
          rect.y + j);
    return true;
}

// The same without the source position.
template <class DestPixel, class SourcePixel, class F>
bool ForEachRowPair(const CDibCore &dest, const CDibCore &source, SPoint point, SExtent rect, F &&f)
{
    return ForEachRowPairAt<DestPixel, SourcePixel>(
        dest, source, point, rect,
        [&f](DestPixel *d, const SourcePixel *s, int32_t width, int32_t, int32_t) { f(d, s, width); });
}

// Calls f(dest pixel pointer, source pixel pointer) over a copy clipped as copies are.
template <class DestPixel, class SourcePixel, class F>
bool ForEachPixelPair(const CDibCore &dest, const CDibCore &source, SPoint point, SExtent rect, F &&f)
{
    return ForEachRowPair<DestPixel, SourcePixel>(
        dest, source, point, rect, [&f](DestPixel *d, const SourcePixel *s, int32_t width) {
            for (int32_t i = 0; i < width; ++i)
                f(d + i, s + i);
        });
}

} // namespace pv
