// AVX2 row fill: eight pixels per store, the rest one by one.
#include "raster/FillKernels.h"

#include <immintrin.h>

namespace pv::kernels {

__attribute__((target("avx2"))) void FillPixelsAvx2(uint32_t *pixels, int32_t count, uint32_t value)
{
    const __m256i v = _mm256_set1_epi32(int(value));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(pixels + i), v);
    for (; i < count; ++i)
        pixels[i] = value;
}

} // namespace pv::kernels
