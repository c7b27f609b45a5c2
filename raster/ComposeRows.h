// Row loops of the compose routines: the view is built a row at a time, so each mode has a
// loop with its paint routine inlined, led by a vector kernel where the mode's arithmetic
// fits 16-bit lanes. Whatever the form, the bytes equal those of calling the mode's compose
// routine once per pixel (ComposeRowByPixel), which tests check on random pixels.
#pragma once

#include "raster/ComposeKernels.h"
#include "raster/PaintRoutines.h"

namespace pv {

using ComposeRowRoutine = void (*)(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);

// The reference: compose(dest + i, source[i], opacity) for each pixel.
void ComposeRowByPixel(ComposeRoutine compose, uint32_t *dest, const uint32_t *source, int32_t count,
                       int opacity);

// Whether this processor runs the vector kernels (decided once).
bool VectorKernelsAvailable();

// The row loop of one paint routine with an optional vector kernel. A zero weight is
// skipped: every paint routine leaves the pixel unchanged at weight 0.
template <PaintRoutine Paint, kernels::RowKernel Kernel = kernels::NoKernel>
void ComposeRowOf(uint32_t *dest, const uint32_t *source, int32_t count, int opacity)
{
    int32_t i = VectorKernelsAvailable() ? Kernel(dest, source, count, opacity) : 0;
    for (; i < count; ++i) {
        const uint32_t w = mul255(uint32_t(opacity), source[i] >> 24);
        if (w != 0)
            Paint(dest + i, source[i], int(w));
    }
}

} // namespace pv
