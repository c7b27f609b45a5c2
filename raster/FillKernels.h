// The vector fill of a row of colour pixels (FillKernelsAvx2.cpp): the baseline build stores
// 16 bytes at a time, and the composite's stage is filled once per block of every recompose.
#pragma once

#include <cstdint>

namespace pv::kernels {

void FillPixelsAvx2(uint32_t *pixels, int32_t count, uint32_t value);

} // namespace pv::kernels
