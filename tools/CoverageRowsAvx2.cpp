// The pencil's coverage row with AVX2: transparent paint in its general form, eight pixels at
// a time, with the integer steps of the pixel routines lane by lane.
//
// This file includes no header with inline functions shared with other files, so nothing
// compiled here for AVX2 can stand in for code other files use.
#include "tools/CoverageRows.h"

#include "raster/CpuFeatures.h"

#include <immintrin.h>

namespace pv {
namespace {

// ExactMix of one channel (at bit `shift`) of colour over pixel with weight w, lane by lane:
// (c w 32897 + d (8388735 − w 32897)) >> 23, every term below 2^32.
__attribute__((target("avx2"))) __m256i MixChannel(__m256i colour, __m256i pixel, __m256i w32897, __m256i keep, int shift)
{
    const __m256i byte = _mm256_set1_epi32(0xFF);
    const __m256i c = _mm256_and_si256(_mm256_srli_epi32(colour, shift), byte);
    const __m256i d = _mm256_and_si256(_mm256_srli_epi32(pixel, shift), byte);
    const __m256i sum = _mm256_add_epi32(_mm256_mullo_epi32(c, w32897), _mm256_mullo_epi32(d, keep));
    return _mm256_slli_epi32(_mm256_srli_epi32(sum, 23), shift);
}

__attribute__((target("avx2"))) int32_t Rows(uint32_t *pixels, const uint8_t *cover, int32_t count, uint32_t density,
                                             uint32_t colour)
{
    const __m256i zero = _mm256_setzero_si256(), full = _mm256_set1_epi32(255), k32897 = _mm256_set1_epi32(32897);
    const __m256i weight = _mm256_set1_epi32(int32_t(density * 32897u)); // x × d / 255 as (x × d × 32897) >> 23
    const __m256i pen = _mm256_set1_epi32(int32_t(colour & 0xFFFFFFu));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i *at = reinterpret_cast<__m256i *>(pixels + i);
        const __m256i old = _mm256_loadu_si256(at);
        const __m256i c = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(cover + i)));
        const __m256i coverage = _mm256_srli_epi32(_mm256_mullo_epi32(c, weight), 23);
        // The general form of transparent paint, which the shortcuts for coverage 255 and for
        // alpha 0 and 255 agree with: alpha grows to a + (255 − a) c / 255, the colour weighs
        // c × 255 / grown (a quotient below 2^16 by at most 255: exact in float), at most 255.
        const __m256i a = _mm256_srli_epi32(old, 24);
        const __m256i grown = _mm256_add_epi32(
            a, _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_mullo_epi32(_mm256_sub_epi32(full, a), coverage), k32897), 23));
        const __m256 quotient = _mm256_div_ps(_mm256_cvtepi32_ps(_mm256_mullo_epi32(coverage, full)),
                                              _mm256_cvtepi32_ps(_mm256_max_epi32(grown, _mm256_set1_epi32(1))));
        const __m256i w = _mm256_min_epi32(_mm256_cvttps_epi32(quotient), full);
        const __m256i w32897 = _mm256_mullo_epi32(w, k32897), keep = _mm256_sub_epi32(_mm256_set1_epi32(8388735), w32897);
        const __m256i rgb = _mm256_or_si256(_mm256_or_si256(MixChannel(pen, old, w32897, keep, 0), MixChannel(pen, old, w32897, keep, 8)),
                                            MixChannel(pen, old, w32897, keep, 16));
        const __m256i painted = _mm256_or_si256(rgb, _mm256_slli_epi32(grown, 24));
        _mm256_storeu_si256(at, _mm256_blendv_epi8(painted, old, _mm256_cmpeq_epi32(coverage, zero)));
    }
    return i;
}

} // namespace

int32_t PaintTransparentCoverage(uint32_t *pixels, const uint8_t *cover, int32_t count, uint32_t density, uint32_t colour)
{
    return VectorKernelsAvailable() ? Rows(pixels, cover, count, density, colour) : 0;
}

} // namespace pv
