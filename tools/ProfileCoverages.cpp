// A soft dab's coverage row, four pixels at a time where the processor has AVX2. The vector
// part is built for AVX2 without FMA: a fused multiply-add would round differently.
#include "tools/ProfileCoverages.h"

#include "raster/CpuFeatures.h"
#include "tools/DabProfiles.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

uint8_t CoverageOf(int32_t i, double x, double dy2, double scale, double r2, const int32_t *profile, int64_t strength)
{
    const double dx = i + 0.5 - x, d2 = dx * dx + dy2;
    if (d2 >= r2)
        return 0;
    const int32_t index = std::min(kProfileSize - 1, int32_t(std::sqrt(d2) * scale));
    return uint8_t(std::clamp<int64_t>((profile[index] * strength) >> 32, 0, 255));
}

// The profile's entries are 0..255.0 in 16.16 and the strength below 2^32 here, so each
// product fits the 64-bit lanes of an unsigned 32 × 32 multiply.
__attribute__((target("avx2"))) int32_t Coverages4(uint8_t *out, int32_t count, int32_t x0, double x, double dy2,
                                                    double scale, double r2, const int32_t *profile, uint32_t strength)
{
    const __m256d half = _mm256_set1_pd(0.5), vx = _mm256_set1_pd(x), vdy2 = _mm256_set1_pd(dy2);
    const __m256d vscale = _mm256_set1_pd(scale), vr2 = _mm256_set1_pd(r2);
    const __m128i last = _mm_set1_epi32(kProfileSize - 1);
    const __m256i vstrength = _mm256_set1_epi64x(int64_t(strength)), most = _mm256_set1_epi64x(255);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m256d column = _mm256_cvtepi32_pd(_mm_add_epi32(_mm_set1_epi32(x0 + i), _mm_setr_epi32(0, 1, 2, 3)));
        const __m256d dx = _mm256_sub_pd(_mm256_add_pd(column, half), vx);
        const __m256d d2 = _mm256_add_pd(_mm256_mul_pd(dx, dx), vdy2);
        const __m128i index = _mm_min_epi32(_mm256_cvttpd_epi32(_mm256_mul_pd(_mm256_sqrt_pd(d2), vscale)), last);
        const __m256d inside = _mm256_cmp_pd(d2, vr2, _CMP_LT_OQ);
        const __m256i entries = _mm256_cvtepu32_epi64(_mm_i32gather_epi32(profile, _mm_max_epi32(index, _mm_setzero_si128()), 4));
        __m256i coverage = _mm256_srli_epi64(_mm256_mul_epu32(entries, vstrength), 32);
        coverage = _mm256_and_si256(_mm256_blendv_epi8(most, coverage, _mm256_cmpgt_epi64(most, coverage)),
                                    _mm256_castpd_si256(inside));
        // The low byte of each 64-bit lane.
        const __m256i bytes = _mm256_shuffle_epi8(coverage, _mm256_setr_epi8(0, 8, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                                                             -1, -1, -1, 0, 8, -1, -1, -1, -1, -1, -1, -1, -1,
                                                                             -1, -1, -1, -1, -1, -1));
        const uint32_t low = uint32_t(_mm256_extract_epi16(bytes, 0)), high = uint32_t(_mm256_extract_epi16(bytes, 8));
        out[i] = uint8_t(low), out[i + 1] = uint8_t(low >> 8), out[i + 2] = uint8_t(high), out[i + 3] = uint8_t(high >> 8);
    }
    return i;
}

} // namespace

void ProfileCoverages(uint8_t *out, int32_t count, int32_t x0, double x, double dy, double scale, double r2,
                      const int32_t *profile, int64_t strength)
{
    const double dy2 = dy * dy;
    const bool vector = VectorKernelsAvailable() && strength >= 0 && strength <= int64_t(UINT32_MAX);
    const int32_t done = vector ? Coverages4(out, count, x0, x, dy2, scale, r2, profile, uint32_t(strength)) : 0;
    for (int32_t i = done; i < count; ++i)
        out[i] = CoverageOf(x0 + i, x, dy2, scale, r2, profile, strength);
}

} // namespace pv
