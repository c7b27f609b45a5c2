// The sums of the area average and how an average is stored: colour pixels sum their four
// channels, 8-bit pixels one value, in single precision; a colour channel adds 0.01 before
// the truncating division, an 8-bit value does not. Every resample path forms its bytes
// through these, so they agree. Also the access types of the four image kinds and the
// average of one destination pixel through prepared spans.
#pragma once

#include "raster/AreaSpans.h"
#include "raster/CBlockVCH.h"
#include "raster/CBlockVMTC.h"
#include "raster/TChannel.h"
#include "raster/TMTC.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>

namespace pv {

struct ColourSum {
    float b = 0, g = 0, r = 0, a = 0;
    void Add(uint32_t p, float w)
    {
        b += float(p & 0xFF) * w;
        g += float((p >> 8) & 0xFF) * w;
        r += float((p >> 16) & 0xFF) * w;
        a += float(p >> 24) * w;
    }
};

inline uint32_t StoreColour(const ColourSum &s, float divisor)
{
    auto ch = [divisor](float v) { return uint32_t(std::clamp(int32_t((v + 0.01f) / divisor), 0, 255)); };
    return ch(s.b) | (ch(s.g) << 8) | (ch(s.r) << 16) | (ch(s.a) << 24);
}

// The same sums four channels at a time: per channel the same products and additions in the
// same order, so the same floats.
struct ColourLanesSum {
    __m128 v = _mm_setzero_ps();
    void Add(uint32_t p, float w)
    {
        const __m128i bytes = _mm_cvtsi32_si128(int32_t(p)), zero = _mm_setzero_si128();
        const __m128 channels = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero));
        v = _mm_add_ps(v, _mm_mul_ps(channels, _mm_set1_ps(w)));
    }
};

// Four channel sums (blue, green, red, alpha) stored as StoreColour stores them: the bias,
// the division, truncation, and the clamp to 0-255 by saturating packs.
inline uint32_t StoreColourLanes(__m128 sum, float divisor)
{
    const __m128i q = _mm_cvttps_epi32(_mm_div_ps(_mm_add_ps(sum, _mm_set1_ps(0.01f)), _mm_set1_ps(divisor)));
    const __m128i words = _mm_packs_epi32(q, q);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

struct ByteSum {
    float v = 0;
    void Add(uint8_t p, float w) { v += float(p) * w; }
};

inline uint8_t StoreByte(const ByteSum &s, float divisor)
{
    return uint8_t(std::clamp(int32_t(s.v / divisor), 0, 255));
}

// How each image is read and stored.
template <class Image> struct ColourOps {
    using Pixel = uint32_t;
    using Sum = ColourSum;
    const Image &image;
    uint32_t At(int32_t x, int32_t y) const;
    void Store(Pixel *out, const Sum &s, float d) const { *out = StoreColour(s, d); }
};
template <> inline uint32_t ColourOps<TMTC>::At(int32_t x, int32_t y) const { return image.At(x, y); }

// A plain colour image summed four channels at a time (the bytes of ColourOps<TMTC>).
struct ColourLanesOps {
    using Pixel = uint32_t;
    using Sum = ColourLanesSum;
    const TMTC &image;
    uint32_t At(int32_t x, int32_t y) const { return image.At(x, y); }
    void Store(Pixel *out, const Sum &s, float d) const { *out = StoreColourLanes(s.v, d); }
};
template <> inline uint32_t ColourOps<CBlockVMTC>::At(int32_t x, int32_t y) const { return image.Pixel(x, y); }

template <class Image> struct ByteOps {
    using Pixel = uint8_t;
    using Sum = ByteSum;
    const Image &image;
    uint8_t At(int32_t x, int32_t y) const;
    void Store(Pixel *out, const Sum &s, float d) const { *out = StoreByte(s, d); }
};
template <> inline uint8_t ByteOps<TChannel>::At(int32_t x, int32_t y) const { return image.At(x, y); }
template <> inline uint8_t ByteOps<CBlockVCH>::At(int32_t x, int32_t y) const { return image.Value(x, y); }

// The average of destination pixel (k, j) through the spans: the rows of the window in order,
// in each the pixels of the window in order, each with the product of its two weights.
// Zero weights add nothing and are skipped. Ops: Sum, At(x, y), Store(out, sum, divisor).
template <class Ops, class Pixel>
void SpanAverage(const Ops &ops, const AreaSpans &columns, int32_t k, const AreaSpans &rows, int32_t j, Pixel *out)
{
    const float *wc = columns.Weights(k), *wr = rows.Weights(j);
    const int32_t x = columns.first[size_t(k)], y = rows.first[size_t(j)];
    typename Ops::Sum sum;
    for (int32_t i = 0; i < rows.window; ++i) {
        if (wr[i] == 0.0f)
            continue;
        for (int32_t l = 0; l < columns.window; ++l)
            if (wc[l] != 0.0f)
                sum.Add(ops.At(x + l, y + i), wc[l] * wr[i]);
    }
    ops.Store(out, sum, columns.share[size_t(k)] * rows.share[size_t(j)]);
}

} // namespace pv
