// AVX2 row kernels of the colour area average: halving, enlarging, any spans over float rows
// two pixels at a time, and the channel planes enlarging reads.
//
// Halving sums four whole pixels per channel; the sum S <= 1020 is exact, and the stored
// byte trunc((S + 0.01) / 4) of the per-pixel average is S >> 2 (AreaColour.cpp shows why).
//
// Enlarging and the float rows keep the per-pixel average's single-precision steps lane for lane: each product
// of weights, each product with a channel value, the four sums in row order, the bias and the
// division are the same IEEE operations on the same operands, so the bytes agree. The file
// is built for AVX2 without FMA: a fused multiply-add would round differently.
//
// This file includes no header with inline functions shared with other files, so nothing
// compiled here for AVX2 can stand in for code other files use.
#include "raster/AreaKernels.h"

#include <immintrin.h>

#define PV_AVX2 __attribute__((target("avx2")))

namespace pv::kernels {

namespace {

// The channel sums of four destination pixels: each source pair's bytes are put side by side
// per channel (b0 b1 g0 g1 r0 r1 a0 a1) and added in pairs as 16-bit numbers.
PV_AVX2 inline __m256i PairSums(const uint32_t *row0, const uint32_t *row1)
{
    const __m256i sideBySide = _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15, 0, 4, 1, 5,
                                                2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
    const __m256i ones = _mm256_set1_epi8(1);
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(row0));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(row1));
    return _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_shuffle_epi8(a, sideBySide), ones),
                            _mm256_maddubs_epi16(_mm256_shuffle_epi8(b, sideBySide), ones));
}

// Four lanes of channel values of one plane row: the window's first and second columns.
PV_AVX2 inline __m256 Column(const float *plane, __m256i lanes)
{
    return _mm256_permutevar8x32_ps(_mm256_loadu_ps(plane), lanes);
}

} // namespace

PV_AVX2 int32_t HalveRowAvx2(uint32_t *dest, const uint32_t *row0, const uint32_t *row1, int32_t count)
{
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i low = _mm256_srli_epi16(PairSums(row0 + 2 * i, row1 + 2 * i), 2);
        const __m256i high = _mm256_srli_epi16(PairSums(row0 + 2 * i + 8, row1 + 2 * i + 8), 2);
        // Lane 0 holds pixels 0, 1, 4, 5 and lane 1 pixels 2, 3, 6, 7.
        const __m256i packed = _mm256_packus_epi16(low, high);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dest + i), _mm256_permute4x64_epi64(packed, 0xD8));
    }
    return i;
}

namespace {

// A row with one source row (bottom null) leaves out the bottom row's zero products.
template <bool TwoRows> PV_AVX2 void Enlarge(const EnlargeRow &row)
{
    // Copies, so that the stores need not be taken to change them.
    const float *const top = row.top, *const bottom = row.bottom, *const w0 = row.w0, *const w1 = row.w1;
    const float *const share = row.share;
    const int32_t *const groupBase = row.groupBase, *const laneOffset = row.laneOffset;
    const ptrdiff_t stride = row.planeStride;
    uint32_t *const dest = row.dest;
    const __m256 bias = _mm256_set1_ps(0.01f), topWeight = _mm256_set1_ps(row.topWeight);
    const __m256 bottomWeight = _mm256_set1_ps(row.bottomWeight), rowShare = _mm256_set1_ps(row.rowShare);
    // Channel-major bytes (b0 b1 b2 b3 g0 ...) back to pixels.
    const __m256i pixelOrder = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0, 4, 8, 12,
                                                1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    for (int32_t g = 0; g < row.groups; ++g) {
        const int32_t k = 8 * g;
        const __m256i lanes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(laneOffset + k));
        const __m256 left = _mm256_loadu_ps(w0 + k), right = _mm256_loadu_ps(w1 + k);
        const __m256 w00 = _mm256_mul_ps(left, topWeight), w01 = _mm256_mul_ps(right, topWeight);
        const __m256 w10 = _mm256_mul_ps(left, bottomWeight), w11 = _mm256_mul_ps(right, bottomWeight);
        const __m256 divisor = _mm256_mul_ps(_mm256_loadu_ps(share + k), rowShare);
        __m256i channel[4];
        for (int c = 0; c < 4; ++c) {
            const float *t = top + c * stride + groupBase[g];
            __m256 sum = _mm256_mul_ps(Column(t, lanes), w00);
            sum = _mm256_add_ps(sum, _mm256_mul_ps(Column(t + 1, lanes), w01));
            if (TwoRows) {
                const float *b = bottom + c * stride + groupBase[g];
                sum = _mm256_add_ps(sum, _mm256_mul_ps(Column(b, lanes), w10));
                sum = _mm256_add_ps(sum, _mm256_mul_ps(Column(b + 1, lanes), w11));
            }
            channel[c] = _mm256_cvttps_epi32(_mm256_div_ps(_mm256_add_ps(sum, bias), divisor));
        }
        // Saturating packs clamp to 0-255 as the scalar store does (the quotients are below 2^31).
        const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(channel[0], channel[1]),
                                                  _mm256_packs_epi32(channel[2], channel[3]));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dest + k), _mm256_shuffle_epi8(bytes, pixelOrder));
    }
}

} // namespace

PV_AVX2 int32_t EnlargeRowAvx2(const EnlargeRow &row)
{
    if (row.bottom)
        Enlarge<true>(row);
    else
        Enlarge<false>(row);
    return 8 * row.groups;
}

PV_AVX2 int32_t AverageFloatRowAvx2(const FloatRow &row)
{
    const __m256 bias = _mm256_set1_ps(0.01f), rowShare = _mm256_set1_ps(row.rowShare);
    int32_t k = 0;
    for (; k + 1 < row.count; k += 2) {
        const float *wa = row.columnWeights + size_t(k) * size_t(row.window), *wb = wa + row.window;
        const int32_t xa = 4 * row.columns[k], xb = 4 * row.columns[k + 1];
        __m256 sum = _mm256_setzero_ps();
        for (int32_t i = 0; i < row.rows; ++i) {
            if (row.rowWeights[i] == 0.0f)
                continue;
            const __m256 wr = _mm256_set1_ps(row.rowWeights[i]);
            const float *p = row.lines[i];
            for (int32_t l = 0; l < row.window; ++l) {
                const __m256 w = _mm256_mul_ps(_mm256_setr_m128(_mm_set1_ps(wa[l]), _mm_set1_ps(wb[l])), wr);
                const __m256 pixels = _mm256_setr_m128(_mm_loadu_ps(p + xa + 4 * l), _mm_loadu_ps(p + xb + 4 * l));
                sum = _mm256_add_ps(sum, _mm256_mul_ps(pixels, w));
            }
        }
        const __m256 divisor = _mm256_mul_ps(_mm256_setr_m128(_mm_set1_ps(row.share[k]), _mm_set1_ps(row.share[k + 1])), rowShare);
        const __m256i q = _mm256_cvttps_epi32(_mm256_div_ps(_mm256_add_ps(sum, bias), divisor));
        const __m128i words = _mm_packs_epi32(_mm256_castsi256_si128(q), _mm256_extracti128_si256(q, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(row.dest + k), _mm_packus_epi16(words, words));
    }
    return k;
}

PV_AVX2 int32_t SplitRowAvx2(float *planes, ptrdiff_t planeStride, const uint32_t *pixels, int32_t count)
{
    const __m256i low = _mm256_set1_epi32(0xFF);
    int32_t x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(pixels + x));
        _mm256_storeu_ps(planes + x, _mm256_cvtepi32_ps(_mm256_and_si256(p, low)));
        _mm256_storeu_ps(planes + planeStride + x, _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(p, 8), low)));
        _mm256_storeu_ps(planes + 2 * planeStride + x,
                         _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(p, 16), low)));
        _mm256_storeu_ps(planes + 3 * planeStride + x, _mm256_cvtepi32_ps(_mm256_srli_epi32(p, 24)));
    }
    return x;
}

} // namespace pv::kernels
