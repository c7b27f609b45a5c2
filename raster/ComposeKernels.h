// The vector row kernels of the compose routines (ComposeKernelsAvx2.cpp). Each composes
// whole groups of 8 pixels and returns how many pixels it composed; the caller finishes the
// rest with the scalar loop. Call them only when the processor has AVX2.
#pragma once

#include <cstdint>

namespace pv::kernels {

using RowKernel = int32_t (*)(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);

// For the modes without a vector form.
inline int32_t NoKernel(uint32_t *, const uint32_t *, int32_t, int)
{
    return 0;
}

int32_t ComposeMultiplyAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeAddAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeSubtractAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeNormalAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeNegativeSubtractAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeScreenAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeOverlayAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeHardLightAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeDifferenceAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeExclusionAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeDarkenAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeLightenAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeLinearLightAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposePinLightAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeHueAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeSaturationAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeColourAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);
int32_t ComposeLuminosityAvx2(uint32_t *dest, const uint32_t *source, int32_t count, int opacity);

} // namespace pv::kernels
