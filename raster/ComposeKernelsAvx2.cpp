// AVX2 kernels of the compose routines that fit 16-bit lanes.
//
// Eight pixels are widened to 16-bit channels (two registers of four pixels). Every
// division by 255 of the scalar routines divides a number t <= 65025 as (t x 32897) >> 23,
// which is the high half of the 16-bit product t x 32897 shifted right by 7; the exact mix
// (c w 32897 + d (8388735 - w 32897)) >> 23 is floor((c w + d (255 - w)) / 255) for the
// same reason, and c w + d (255 - w) <= 65025 fits a lane. So the kernels give the scalar
// bytes exactly. Lanes whose value a select discards may wrap; they never reach the result.
//
// This file includes no header with inline functions shared with other files, so nothing
// compiled here for AVX2 can stand in for code other files use.
#include "raster/ComposeKernels.h"

#include <immintrin.h>

#define PV_AVX2 __attribute__((target("avx2")))

namespace pv::kernels {

namespace {

PV_AVX2 inline __m256i Lanes(int v)
{
    return _mm256_set1_epi16(short(v));
}

// floor(t / 255) for t <= 65025.
PV_AVX2 inline __m256i Div255(__m256i t)
{
    return _mm256_srli_epi16(_mm256_mulhi_epu16(t, Lanes(32897)), 7);
}

PV_AVX2 inline __m256i Mul255(__m256i a, __m256i b)
{
    return Div255(_mm256_mullo_epi16(a, b));
}

// The exact mix of c over d with weight w.
PV_AVX2 inline __m256i Mix(__m256i c, __m256i d, __m256i w)
{
    return Div255(_mm256_add_epi16(_mm256_mullo_epi16(c, w), _mm256_mullo_epi16(d, _mm256_sub_epi16(Lanes(255), w))));
}

PV_AVX2 inline __m256i Overlay(__m256i d, __m256i s)
{
    const __m256i low = Div255(_mm256_mullo_epi16(_mm256_add_epi16(d, d), s));
    const __m256i invD = _mm256_sub_epi16(Lanes(255), d), invS = _mm256_sub_epi16(Lanes(255), s);
    const __m256i high = Div255(_mm256_sub_epi16(Lanes(65025), _mm256_mullo_epi16(_mm256_add_epi16(invD, invD), invS)));
    return _mm256_blendv_epi8(high, low, _mm256_cmpgt_epi16(Lanes(128), d));
}

// Each mode: Apply(d, s, w) gives the painted channels from destination d, source s and
// weight w (all 16-bit lanes); the weight of an alpha lane is 0, which gives d back.
struct Multiply {
    PV_AVX2 static __m256i Apply(__m256i d, __m256i s, __m256i w)
    {
        return Mul255(d, _mm256_sub_epi16(Lanes(255), Mul255(w, _mm256_sub_epi16(Lanes(255), s))));
    }
};
// Add, subtract and negative subtract move d by an amount of the source alone, with
// saturation: the amount is computed in 16-bit lanes, packed, then applied to the bytes.
struct Add {
    PV_AVX2 static __m256i Amount(__m256i s, __m256i w) { return Mul255(w, s); }
    PV_AVX2 static __m256i Combine(__m256i d, __m256i amount) { return _mm256_adds_epu8(d, amount); }
};
struct Subtract {
    PV_AVX2 static __m256i Amount(__m256i s, __m256i w) { return Mul255(w, s); }
    PV_AVX2 static __m256i Combine(__m256i d, __m256i amount) { return _mm256_subs_epu8(d, amount); }
};
struct Normal {
    PV_AVX2 static __m256i Apply(__m256i d, __m256i s, __m256i w) { return Mix(s, d, w); }
};
struct NegativeSubtract {
    PV_AVX2 static __m256i Amount(__m256i s, __m256i w) { return Mul255(w, _mm256_sub_epi16(Lanes(255), s)); }
    PV_AVX2 static __m256i Combine(__m256i d, __m256i amount) { return _mm256_subs_epu8(d, amount); }
};

// The modes that mix B(d, s) over d.
template <class Blend>
struct Mixed {
    PV_AVX2 static __m256i Apply(__m256i d, __m256i s, __m256i w) { return Mix(Blend::B(d, s), d, w); }
};
struct Screen {
    PV_AVX2 static __m256i B(__m256i d, __m256i s) { return _mm256_sub_epi16(_mm256_add_epi16(d, s), Mul255(d, s)); }
};
struct OverlayBlend {
    PV_AVX2 static __m256i B(__m256i d, __m256i s) { return Overlay(d, s); }
};
struct HardLight {
    PV_AVX2 static __m256i B(__m256i d, __m256i s) { return Overlay(s, d); }
};
struct Difference {
    PV_AVX2 static __m256i B(__m256i d, __m256i s) { return _mm256_sub_epi16(_mm256_max_epu16(d, s), _mm256_min_epu16(d, s)); }
};
struct Exclusion {
    PV_AVX2 static __m256i B(__m256i d, __m256i s)
    {
        const __m256i m = Mul255(d, s);
        return _mm256_sub_epi16(_mm256_add_epi16(d, s), _mm256_add_epi16(m, m));
    }
};
struct Darken {
    PV_AVX2 static __m256i B(__m256i d, __m256i s) { return _mm256_min_epu16(d, s); }
};
struct Lighten {
    PV_AVX2 static __m256i B(__m256i d, __m256i s) { return _mm256_max_epu16(d, s); }
};
struct LinearLight {
    PV_AVX2 static __m256i B(__m256i d, __m256i s)
    {
        const __m256i t = _mm256_sub_epi16(_mm256_add_epi16(d, _mm256_add_epi16(s, s)), Lanes(256));
        return _mm256_min_epi16(_mm256_max_epi16(t, _mm256_setzero_si256()), Lanes(255));
    }
};
struct PinLight {
    PV_AVX2 static __m256i B(__m256i d, __m256i s)
    {
        const __m256i twice = _mm256_add_epi16(s, s);
        return _mm256_min_epi16(_mm256_max_epi16(d, _mm256_sub_epi16(twice, Lanes(255))), twice);
    }
};

// Four widened pixels: weight = mul255(opacity, source alpha) in the colour lanes of a pixel
// (at full opacity the alpha itself, as mul255(255, a) = a) and 0 in its alpha lane, where
// every mode then gives back the destination's alpha.
template <bool FullOpacity>
PV_AVX2 inline __m256i WeightOf(__m256i s, __m256i opacity)
{
    constexpr char Z = char(0x80); // a shuffle index that yields 0
    const __m256i spreadAlpha = _mm256_setr_epi8(6, 7, 6, 7, 6, 7, Z, Z, 14, 15, 14, 15, 14, 15, Z, Z, 6, 7, 6, 7, 6,
                                                 7, Z, Z, 14, 15, 14, 15, 14, 15, Z, Z);
    const __m256i alpha = _mm256_shuffle_epi8(s, spreadAlpha);
    return FullOpacity ? alpha : Mul255(opacity, alpha);
}

template <class Mode>
concept MovesByAmount = requires(__m256i v) { Mode::Combine(v, v); };

// Eight pixels d under eight source pixels s.
template <class Mode, bool FullOpacity>
PV_AVX2 inline __m256i ComposeEight(__m256i d, __m256i s, __m256i opacity)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i sLow = _mm256_unpacklo_epi8(s, zero), sHigh = _mm256_unpackhi_epi8(s, zero);
    if constexpr (MovesByAmount<Mode>) {
        const __m256i low = Mode::Amount(sLow, WeightOf<FullOpacity>(sLow, opacity));
        const __m256i high = Mode::Amount(sHigh, WeightOf<FullOpacity>(sHigh, opacity));
        return Mode::Combine(d, _mm256_packus_epi16(low, high));
    } else {
        const __m256i low = Mode::Apply(_mm256_unpacklo_epi8(d, zero), sLow, WeightOf<FullOpacity>(sLow, opacity));
        const __m256i high = Mode::Apply(_mm256_unpackhi_epi8(d, zero), sHigh, WeightOf<FullOpacity>(sHigh, opacity));
        return _mm256_packus_epi16(low, high);
    }
}

// Groups of eight wholly transparent source pixels are skipped: weight 0 changes nothing.
template <class Mode, bool FullOpacity>
PV_AVX2 int32_t ComposeGroups(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                              int32_t count, int32_t rows, int opacity)
{
    const __m256i o = Lanes(opacity);
    const __m256i alphaBytes = _mm256_set1_epi32(int(0xFF000000u));
    const int32_t groups = count & ~7;
    for (int32_t r = 0; r < rows; ++r, dest += destStride, source += sourceStride) {
        for (int32_t i = 0; i < groups; i += 8) {
            const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(source + i));
            if (_mm256_testz_si256(s, alphaBytes))
                continue;
            const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(dest + i));
            _mm256_storeu_si256(reinterpret_cast<__m256i *>(dest + i), ComposeEight<Mode, FullOpacity>(d, s, o));
        }
    }
    return groups;
}

template <class Mode>
PV_AVX2 int32_t ComposeRect(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride,
                            int32_t count, int32_t rows, int opacity)
{
    return opacity == 255 ? ComposeGroups<Mode, true>(dest, destStride, source, sourceStride, count, rows, opacity)
                          : ComposeGroups<Mode, false>(dest, destStride, source, sourceStride, count, rows, opacity);
}

} // namespace

#define PV_KERNEL(name, mode)                                                                                       \
    int32_t name(uint32_t *dest, ptrdiff_t destStride, const uint32_t *source, ptrdiff_t sourceStride, int32_t count, \
                 int32_t rows, int opacity)                                                                         \
    {                                                                                                               \
        return ComposeRect<mode>(dest, destStride, source, sourceStride, count, rows, opacity);                     \
    }

PV_KERNEL(ComposeMultiplyAvx2, Multiply)
PV_KERNEL(ComposeAddAvx2, Add)
PV_KERNEL(ComposeSubtractAvx2, Subtract)
PV_KERNEL(ComposeNormalAvx2, Normal)
PV_KERNEL(ComposeNegativeSubtractAvx2, NegativeSubtract)
PV_KERNEL(ComposeScreenAvx2, Mixed<Screen>)
PV_KERNEL(ComposeOverlayAvx2, Mixed<OverlayBlend>)
PV_KERNEL(ComposeHardLightAvx2, Mixed<HardLight>)
PV_KERNEL(ComposeDifferenceAvx2, Mixed<Difference>)
PV_KERNEL(ComposeExclusionAvx2, Mixed<Exclusion>)
PV_KERNEL(ComposeDarkenAvx2, Mixed<Darken>)
PV_KERNEL(ComposeLightenAvx2, Mixed<Lighten>)
PV_KERNEL(ComposeLinearLightAvx2, Mixed<LinearLight>)
PV_KERNEL(ComposePinLightAvx2, Mixed<PinLight>)

#undef PV_KERNEL

} // namespace pv::kernels
