// The profile indices of a dab row, four at a time where the processor has AVX2. The vector
// part is built for AVX2 without FMA: a fused multiply-add would round differently.
#include "tools/ProfileIndices.h"

#include "tools/DabProfiles.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

bool HasAvx2()
{
    static const bool available = (__builtin_cpu_init(), __builtin_cpu_supports("avx2") != 0);
    return available;
}

int32_t IndexOf(int32_t i, double x, double dy2, double scale, double r2)
{
    const double dx = i + 0.5 - x, d2 = dx * dx + dy2;
    return d2 >= r2 ? -1 : std::min(kProfileSize - 1, int32_t(std::sqrt(d2) * scale));
}

__attribute__((target("avx2"))) int32_t Indices4(int32_t *out, int32_t count, int32_t x0, double x, double dy2,
                                                  double scale, double r2)
{
    const __m256d half = _mm256_set1_pd(0.5), vx = _mm256_set1_pd(x), vdy2 = _mm256_set1_pd(dy2);
    const __m256d vscale = _mm256_set1_pd(scale), vr2 = _mm256_set1_pd(r2);
    const __m128i last = _mm_set1_epi32(kProfileSize - 1), outside = _mm_set1_epi32(-1);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m256d column = _mm256_cvtepi32_pd(_mm_add_epi32(_mm_set1_epi32(x0 + i), _mm_setr_epi32(0, 1, 2, 3)));
        const __m256d dx = _mm256_sub_pd(_mm256_add_pd(column, half), vx);
        const __m256d d2 = _mm256_add_pd(_mm256_mul_pd(dx, dx), vdy2);
        const __m128i index = _mm_min_epi32(_mm256_cvttpd_epi32(_mm256_mul_pd(_mm256_sqrt_pd(d2), vscale)), last);
        const __m256d beyond = _mm256_cmp_pd(d2, vr2, _CMP_GE_OQ);
        const __m128i beyond32 = _mm256_cvtpd_epi32(_mm256_and_pd(beyond, _mm256_set1_pd(-1.0)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_blendv_epi8(index, outside, beyond32));
    }
    return i;
}

} // namespace

void ProfileIndices(int32_t *out, int32_t count, int32_t x0, double x, double dy, double scale, double r2)
{
    const double dy2 = dy * dy;
    const int32_t done = HasAvx2() ? Indices4(out, count, x0, x, dy2, scale, r2) : 0;
    for (int32_t i = done; i < count; ++i)
        out[i] = IndexOf(x0 + i, x, dy2, scale, r2);
}

} // namespace pv
