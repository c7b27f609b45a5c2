// The vector kernels of the compose routines (ComposeKernelsAvx2.cpp). Each composes the
// whole groups of 8 pixels of every row of a rectangle (row r of dest at dest + r destStride,
// of source at source + r sourceStride, strides in pixels) and returns how many pixels of
// each row it composed; the caller finishes the rest with the scalar loop. A row is the
// rectangle of one row; a tile in one call spares the per-row calls. Call them only when the
// processor has AVX2.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pv::kernels {

using RectKernel = int32_t (*)(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                               int32_t count, int32_t rows, int opacity);

// For the modes without a vector form.
inline int32_t NoKernel(uint32_t *, ptrdiff_t, const uint32_t *, ptrdiff_t, int32_t, int32_t, int)
{
    return 0;
}

int32_t ComposeMultiplyAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                            int32_t count, int32_t rows, int opacity);
int32_t ComposeAddAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                       int32_t count, int32_t rows, int opacity);
int32_t ComposeSubtractAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                            int32_t count, int32_t rows, int opacity);
int32_t ComposeNormalAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                          int32_t count, int32_t rows, int opacity);
int32_t ComposeNegativeSubtractAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                                    int32_t count, int32_t rows, int opacity);
int32_t ComposeScreenAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                          int32_t count, int32_t rows, int opacity);
int32_t ComposeOverlayAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                           int32_t count, int32_t rows, int opacity);
int32_t ComposeHardLightAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                             int32_t count, int32_t rows, int opacity);
int32_t ComposeDifferenceAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                              int32_t count, int32_t rows, int opacity);
int32_t ComposeExclusionAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                             int32_t count, int32_t rows, int opacity);
int32_t ComposeDarkenAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                          int32_t count, int32_t rows, int opacity);
int32_t ComposeLightenAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                           int32_t count, int32_t rows, int opacity);
int32_t ComposeLinearLightAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                               int32_t count, int32_t rows, int opacity);
int32_t ComposePinLightAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                            int32_t count, int32_t rows, int opacity);
int32_t ComposeHueAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                       int32_t count, int32_t rows, int opacity);
int32_t ComposeSaturationAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                              int32_t count, int32_t rows, int opacity);
int32_t ComposeColourAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                          int32_t count, int32_t rows, int opacity);
int32_t ComposeLuminosityAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                              int32_t count, int32_t rows, int opacity);

} // namespace pv::kernels
