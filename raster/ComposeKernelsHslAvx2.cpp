// AVX2 kernels of the hue, saturation, colour and luminosity modes.
//
// Eight pixels at a time, one 32-bit lane per pixel and channel. The scalar construction
// branches three ways per pixel on the luminance shift; here every branch is computed and
// the lanes pick theirs, with safe divisors where a branch does not apply. Its integer
// quotients have numerators of at most 255 x 255 and divisors 1-255: a float quotient is
// then within one of the integer one, and one correction step each way makes it exact. The
// final exact mix is the scalar (t + 1 + (t >> 8)) >> 8 division by 255 of t <= 65025.
// So the kernels give the scalar bytes exactly.
//
// Like the other kernel file, this one includes no header with shared inline functions.
#include "raster/ComposeKernels.h"

#include <immintrin.h>

#define PV_AVX2 __attribute__((target("avx2")))

namespace pv::kernels {

namespace {

PV_AVX2 inline __m256i Int(int v)
{
    return _mm256_set1_epi32(v);
}

// floor(n / q) for 0 <= n <= 65025 and 1 <= q <= 255.
PV_AVX2 inline __m256i Quotient(__m256i n, __m256i q)
{
    __m256i t = _mm256_cvttps_epi32(_mm256_div_ps(_mm256_cvtepi32_ps(n), _mm256_cvtepi32_ps(q)));
    __m256i product = _mm256_mullo_epi32(t, q);
    const __m256i over = _mm256_cmpgt_epi32(product, n);
    t = _mm256_add_epi32(t, over);
    product = _mm256_sub_epi32(product, _mm256_and_si256(q, over));
    const __m256i under = _mm256_cmpgt_epi32(_mm256_add_epi32(n, Int(1)), _mm256_add_epi32(product, q));
    return _mm256_sub_epi32(t, under);
}

// n / q truncated toward zero for |n| <= 65025.
PV_AVX2 inline __m256i SignedQuotient(__m256i n, __m256i q)
{
    return _mm256_sign_epi32(Quotient(_mm256_abs_epi32(n), q), n);
}

// The grey value (R 19595 + G 38469 + B 7472) >> 16, arithmetic for negative channels.
PV_AVX2 inline __m256i Grey(__m256i r, __m256i g, __m256i b)
{
    const __m256i sum = _mm256_add_epi32(_mm256_add_epi32(_mm256_mullo_epi32(r, Int(19595)), _mm256_mullo_epi32(g, Int(38469))),
                                         _mm256_mullo_epi32(b, Int(7472)));
    return _mm256_srai_epi32(sum, 16);
}

struct SPixels {
    __m256i c[3]; // red, green, blue
    __m256i lo, hi;

    PV_AVX2 explicit SPixels(__m256i p)
    {
        const __m256i byte = Int(0xFF);
        c[0] = _mm256_and_si256(_mm256_srli_epi32(p, 16), byte);
        c[1] = _mm256_and_si256(_mm256_srli_epi32(p, 8), byte);
        c[2] = _mm256_and_si256(p, byte);
        lo = _mm256_min_epi32(_mm256_min_epi32(c[0], c[1]), c[2]);
        hi = _mm256_max_epi32(_mm256_max_epi32(c[0], c[1]), c[2]);
    }

    PV_AVX2 __m256i Chroma() const { return _mm256_sub_epi32(hi, lo); }
    PV_AVX2 __m256i Luminance() const { return Grey(c[0], c[1], c[2]); }
};

// Colour c scaled to chroma k and moved to luminance L, into out (red, green, blue).
PV_AVX2 inline void SetChromaAndLuminance(const SPixels &c, __m256i k, __m256i L, __m256i out[3])
{
    const __m256i one = Int(1), zero = _mm256_setzero_si256();
    const __m256i span = _mm256_sub_epi32(c.hi, c.lo);
    __m256i x[3];
    for (int i = 0; i < 3; ++i)
        x[i] = Quotient(_mm256_mullo_epi32(k, _mm256_sub_epi32(c.c[i], c.lo)), _mm256_max_epi32(span, one));
    const __m256i m = Grey(x[0], x[1], x[2]);
    const __m256i diff = _mm256_sub_epi32(L, m);
    const __m256i towardsWhite = _mm256_cmpgt_epi32(_mm256_add_epi32(diff, c.hi), Int(255));
    const __m256i darker = _mm256_cmpgt_epi32(zero, diff);
    const __m256i grey = _mm256_or_si256(_mm256_cmpeq_epi32(k, zero), _mm256_cmpeq_epi32(span, zero));
    const __m256i r = _mm256_max_epi32(one, Grey(_mm256_sub_epi32(c.hi, x[0]), _mm256_sub_epi32(c.hi, x[1]),
                                                 _mm256_sub_epi32(c.hi, x[2])));
    const __m256i rest = _mm256_sub_epi32(Int(255), L);
    const __m256i safeM = _mm256_max_epi32(m, one);
    for (int i = 0; i < 3; ++i) {
        const __m256i white = _mm256_sub_epi32(Int(255), SignedQuotient(_mm256_mullo_epi32(rest, _mm256_sub_epi32(c.hi, x[i])), r));
        const __m256i scaled = Quotient(_mm256_mullo_epi32(L, x[i]), safeM);
        const __m256i shifted = _mm256_add_epi32(x[i], diff);
        __m256i v = _mm256_blendv_epi8(_mm256_blendv_epi8(shifted, scaled, darker), white, towardsWhite);
        v = _mm256_blendv_epi8(v, L, grey);
        out[i] = _mm256_min_epi32(_mm256_max_epi32(v, zero), Int(255));
    }
}

enum class Model { Hue, Saturation, Colour, Luminosity };

template <Model M>
PV_AVX2 void ComposeHslRow(uint32_t *dest, const uint32_t *source, int32_t groups, int opacity)
{
    const __m256i o = Int(opacity), k255 = Int(255);
    const __m256i alphaBytes = Int(int(0xFF000000u));
    for (int32_t i = 0; i < groups; i += 8) {
        const __m256i sp = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(source + i));
        if (_mm256_testz_si256(sp, alphaBytes))
            continue;
        const __m256i dp = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(dest + i));
        const SPixels d(dp), s(sp);
        __m256i blend[3];
        if constexpr (M == Model::Hue)
            SetChromaAndLuminance(s, d.Chroma(), d.Luminance(), blend);
        else if constexpr (M == Model::Saturation)
            SetChromaAndLuminance(d, s.Chroma(), d.Luminance(), blend);
        else if constexpr (M == Model::Colour)
            SetChromaAndLuminance(s, s.Chroma(), d.Luminance(), blend);
        else
            SetChromaAndLuminance(d, d.Chroma(), s.Luminance(), blend);
        // weight = mul255(opacity, source alpha); channel = exact mix of blend over d.
        const __m256i t = _mm256_mullo_epi32(o, _mm256_srli_epi32(sp, 24));
        const __m256i w = _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(t, Int(1)), _mm256_srli_epi32(t, 8)), 8);
        const __m256i keep = _mm256_sub_epi32(k255, w);
        __m256i result = _mm256_and_si256(dp, alphaBytes);
        for (int c = 0; c < 3; ++c) {
            const __m256i mixed = _mm256_add_epi32(_mm256_mullo_epi32(blend[c], w), _mm256_mullo_epi32(d.c[c], keep));
            const __m256i channel =
                _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(mixed, Int(1)), _mm256_srli_epi32(mixed, 8)), 8);
            result = _mm256_or_si256(result, _mm256_slli_epi32(channel, 16 - 8 * c));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dest + i), result);
    }
}

template <Model M>
PV_AVX2 int32_t ComposeHsl(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                           int32_t count, int32_t rows, int opacity)
{
    const int32_t groups = count & ~7;
    for (int32_t r = 0; r < rows; ++r)
        ComposeHslRow<M>(dest + r * destStride, source + r * sourceStride, groups, opacity);
    return groups;
}

} // namespace

int32_t ComposeHueAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                       int32_t count, int32_t rows, int opacity)
{
    return ComposeHsl<Model::Hue>(dest, destStride, source, sourceStride, count, rows, opacity);
}

int32_t ComposeSaturationAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                              int32_t count, int32_t rows, int opacity)
{
    return ComposeHsl<Model::Saturation>(dest, destStride, source, sourceStride, count, rows, opacity);
}

int32_t ComposeColourAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                          int32_t count, int32_t rows, int opacity)
{
    return ComposeHsl<Model::Colour>(dest, destStride, source, sourceStride, count, rows, opacity);
}

int32_t ComposeLuminosityAvx2(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                              int32_t count, int32_t rows, int opacity)
{
    return ComposeHsl<Model::Luminosity>(dest, destStride, source, sourceStride, count, rows, opacity);
}

} // namespace pv::kernels
