// Paint and compose routines of the layer modes.
//
// A paint routine mixes a colour into one pixel in the manner of a mode with a weight
// 0-255; the pixel's alpha is kept. Multiply, add, subtract and negative subtract carry the
// weight inside their formula; every other mode is the exact mix of B(d, s) over d, so a
// weight of 0 leaves the pixel and 255 stores B.
//
// A compose routine lays a layer pixel with its own alpha onto a composite pixel with the
// layer's opacity: weight = mul255(opacity, source alpha), then the mode's paint routine.
#pragma once

#include "raster/BlendFunctions.h"
#include "raster/TMTC.h"

namespace pv {

using PaintRoutine = ColourOp;
using ComposeRoutine = ColourOp;

// d x (255 - w (255 - s) / 255) / 255: the colour is first pulled towards white by the
// weight (table U), then multiplied (table T); both tables are mul255 forms.
inline void PaintMultiply(uint32_t *pixel, uint32_t colour, int weight)
{
    const uint32_t p = *pixel, w = uint32_t(weight);
    const auto ch = [&](int shift) {
        const uint32_t s = (colour >> shift) & 0xFF, d = (p >> shift) & 0xFF;
        return mul255(d, 255 - mul255(w, 255 - s)) << shift;
    };
    *pixel = (p & 0xFF000000u) | ch(16) | ch(8) | ch(0);
}

// min(255, d + w s / 255).
inline void PaintAdd(uint32_t *pixel, uint32_t colour, int weight)
{
    const uint32_t p = *pixel, w = uint32_t(weight);
    const auto ch = [&](int shift) {
        const uint32_t s = (colour >> shift) & 0xFF, d = (p >> shift) & 0xFF;
        return std::min(255u, d + mul255(w, s)) << shift;
    };
    *pixel = (p & 0xFF000000u) | ch(16) | ch(8) | ch(0);
}

// max(0, d - w s / 255).
inline void PaintSubtract(uint32_t *pixel, uint32_t colour, int weight)
{
    const uint32_t p = *pixel, w = uint32_t(weight);
    const auto ch = [&](int shift) {
        const uint32_t s = (colour >> shift) & 0xFF, d = (p >> shift) & 0xFF, t = mul255(w, s);
        return (d > t ? d - t : 0) << shift;
    };
    *pixel = (p & 0xFF000000u) | ch(16) | ch(8) | ch(0);
}

inline void PaintNormal(uint32_t *pixel, uint32_t colour, int weight)
{
    *pixel = ExactMixColour(colour, *pixel, uint32_t(weight));
}

// max(0, d - ((w x 32897) (255 - s) >> 23)): subtracts the negative of the colour.
inline void PaintNegativeSubtract(uint32_t *pixel, uint32_t colour, int weight)
{
    const uint32_t p = *pixel, k = uint32_t(weight) * 32897u;
    const auto ch = [&](int shift) {
        const uint32_t s = (colour >> shift) & 0xFF, d = (p >> shift) & 0xFF, t = (k * (255 - s)) >> 23;
        return (d > t ? d - t : 0) << shift;
    };
    *pixel = (p & 0xFF000000u) | ch(16) | ch(8) | ch(0);
}

// The exact mix of a per-channel blend function.
template <uint32_t (*B)(uint32_t, uint32_t)>
void PaintSeparable(uint32_t *pixel, uint32_t colour, int weight)
{
    if (weight == 0)
        return;
    const uint32_t p = *pixel;
    const auto ch = [&](int shift) {
        const uint32_t s = (colour >> shift) & 0xFF, d = (p >> shift) & 0xFF;
        return ExactMix(B(d, s), d, uint32_t(weight)) << shift;
    };
    *pixel = (p & 0xFF000000u) | ch(16) | ch(8) | ch(0);
}

// The exact mix of a whole-pixel blend function.
template <uint32_t (*B)(uint32_t, uint32_t)>
void PaintWhole(uint32_t *pixel, uint32_t colour, int weight)
{
    if (weight == 0)
        return;
    *pixel = ExactMixColour(B(*pixel, colour), *pixel, uint32_t(weight));
}

template <PaintRoutine Paint>
void Compose(uint32_t *pixel, uint32_t source, int opacity)
{
    Paint(pixel, source, int(mul255(uint32_t(opacity), source >> 24)));
}

} // namespace pv
