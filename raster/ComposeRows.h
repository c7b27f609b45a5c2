// Row and rectangle loops of the compose routines: the view is built a row at a time, or a
// tile at a time, so each mode has loops with its paint routine inlined, led by a vector
// kernel where the mode's arithmetic fits 16-bit lanes. Whatever the form, the bytes equal
// those of calling the mode's compose routine once per pixel (ComposeRowByPixel), which
// tests check on random pixels.
#pragma once

#include "raster/ComposeKernels.h"
#include "raster/CpuFeatures.h"
#include "raster/PaintRoutines.h"

namespace pv {

using ComposeRowRoutine = void (*)(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
// The same over a rectangle of rows: row r of dest at dest + r destStride, of source at
// source + r sourceStride (strides in pixels; a source stride of 0 lays one row on every row).
using ComposeRectRoutine = void (*)(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source,
                                    ptrdiff_t sourceStride, int32_t width, int32_t height, int opacity);

// The reference: compose(dest + i, source[i], opacity) for each pixel.
void ComposeRowByPixel(ComposeRoutine compose, uint32_t *dest, const uint32_t *source, int32_t count,
                       int opacity);

// The rectangle loop of one paint routine with an optional vector kernel. A zero weight is
// skipped: every paint routine leaves the pixel unchanged at weight 0.
template <PaintRoutine Paint, kernels::RectKernel Kernel = kernels::NoKernel>
void ComposeRectOf(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                   int32_t width, int32_t height, int opacity)
{
    const int32_t done = VectorKernelsAvailable() ? Kernel(dest, destStride, source, sourceStride, width, height, opacity) : 0;
    if (done == width)
        return;
    for (int32_t r = 0; r < height; ++r, dest += destStride, source += sourceStride) {
        for (int32_t i = done; i < width; ++i) {
            const uint32_t w = mul255(uint32_t(opacity), source[i] >> 24);
            if (w != 0)
                Paint(dest + i, source[i], int(w));
        }
    }
}

template <PaintRoutine Paint, kernels::RectKernel Kernel = kernels::NoKernel>
void ComposeRowOf(uint32_t *dest, const uint32_t *source, int32_t count, int opacity)
{
    ComposeRectOf<Paint, Kernel>(dest, 0, source, 0, count, 1, opacity);
}

} // namespace pv
