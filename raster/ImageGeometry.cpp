// Flips and the half turn, written once over the pixel size.
#include "raster/ImageGeometry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pv {

namespace {

template <class Pixel>
void ReverseRow(Pixel *p, int32_t width)
{
    std::reverse(p, p + width);
}

template <class Pixel>
void FlipHorizontalOf(CDibCore &image, const SExtent &r)
{
    for (int32_t y = r.y; y < r.y + r.height; ++y)
        ReverseRow(reinterpret_cast<Pixel *>(image.Row(y)) + r.x, r.width);
}

template <class Pixel>
void Rotate180Of(CDibCore &image, const SExtent &r)
{
    for (int32_t j = 0; j < r.height / 2; ++j) {
        Pixel *top = reinterpret_cast<Pixel *>(image.Row(r.y + j)) + r.x;
        Pixel *bottom = reinterpret_cast<Pixel *>(image.Row(r.y + r.height - 1 - j)) + r.x;
        for (int32_t i = 0; i < r.width; ++i)
            std::swap(top[i], bottom[r.width - 1 - i]);
    }
    if (r.height % 2 != 0)
        ReverseRow(reinterpret_cast<Pixel *>(image.Row(r.y + r.height / 2)) + r.x, r.width);
}

// Clips rect and runs the 8- or 32-bit form of an operation on it.
template <template <class> class Operation>
bool RunOnPixels(CDibCore &image, SExtent rect)
{
    if (!image.IsValid() || !ClipToImage(rect, image.Width(), image.Height()))
        return false;
    if (image.BytesPerPixel() == 4)
        Operation<uint32_t>::Run(image, rect);
    else
        Operation<uint8_t>::Run(image, rect);
    return true;
}

template <class Pixel>
struct FlipHorizontalOp {
    static void Run(CDibCore &image, const SExtent &r) { FlipHorizontalOf<Pixel>(image, r); }
};

template <class Pixel>
struct Rotate180Op {
    static void Run(CDibCore &image, const SExtent &r) { Rotate180Of<Pixel>(image, r); }
};

} // namespace

bool FlipVertical(CDibCore &image, SExtent rect)
{
    if (!image.IsValid() || !ClipToImage(rect, image.Width(), image.Height()))
        return false;
    const size_t bytes = size_t(rect.width) * image.BytesPerPixel();
    const ptrdiff_t offset = ptrdiff_t(rect.x) * image.BytesPerPixel();
    std::vector<uint8_t> temporary(bytes);
    for (int32_t i = 0; i < rect.height / 2; ++i) {
        uint8_t *a = image.Row(rect.y + i) + offset;
        uint8_t *b = image.Row(rect.y + rect.height - 1 - i) + offset;
        std::memcpy(temporary.data(), a, bytes);
        std::memcpy(a, b, bytes);
        std::memcpy(b, temporary.data(), bytes);
    }
    return true;
}

bool FlipVertical(CDibCore &image)
{
    return FlipVertical(image, {0, 0, image.Width(), image.Height()});
}

bool FlipHorizontal(CDibCore &image, SExtent rect)
{
    return RunOnPixels<FlipHorizontalOp>(image, rect);
}

bool Rotate180(CDibCore &image, SExtent rect)
{
    return RunOnPixels<Rotate180Op>(image, rect);
}

} // namespace pv
