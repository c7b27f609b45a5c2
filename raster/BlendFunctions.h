// The blend functions B(d, s) of the layer modes: d is the destination byte, s the source
// byte; every result is 0-255 for inputs 0-255 and all divisions are integer divisions.
// The hue, saturation, colour and luminosity modes work on whole pixels (BlendHue etc.).
#pragma once

#include "raster/PixelMath.h"

#include <algorithm>
#include <cstdint>

namespace pv {

inline uint32_t BlendScreen(uint32_t d, uint32_t s) { return d + s - mul255(d, s); }

// Overlay and hard light: multiply below the midpoint, screen above it, scaled by two;
// (65025 - 2 (255 - d)(255 - s)) / 255 is the doubled screen written without a negative.
inline uint32_t BlendOverlay(uint32_t d, uint32_t s)
{
    return d < 128 ? 2 * d * s / 255 : (65025 - 2 * (255 - d) * (255 - s)) / 255;
}

inline uint32_t BlendHardLight(uint32_t d, uint32_t s) { return BlendOverlay(s, d); }

uint32_t SoftLightFormula(uint32_t d, uint32_t s);

inline uint32_t BlendDifference(uint32_t d, uint32_t s) { return d > s ? d - s : s - d; }
inline uint32_t BlendExclusion(uint32_t d, uint32_t s) { return s + d - 2 * mul255(d, s); }
inline uint32_t BlendDarken(uint32_t d, uint32_t s) { return std::min(d, s); }
inline uint32_t BlendLighten(uint32_t d, uint32_t s) { return std::max(d, s); }

inline uint32_t BurnFormula(uint32_t d, uint32_t s)
{
    if (s == 0)
        return d == 255 ? 255 : 0;
    return 255 - std::min(255u, (255 - d) * 255 / s);
}

inline uint32_t DodgeFormula(uint32_t d, uint32_t s)
{
    if (s == 255)
        return d > 0 ? 255 : 0;
    return std::min(255u, d * 255 / (255 - s));
}

inline uint32_t BlendLinearLight(uint32_t d, uint32_t s)
{
    return uint32_t(std::clamp(int(d) + 2 * int(s) - 256, 0, 255));
}

// Vivid light: a half-strength dodge above the midpoint, a half-strength burn below it.
inline uint32_t VividLightFormula(uint32_t d, uint32_t s)
{
    if (s > 127)
        return s == 255 ? 255 : std::min(255u, (d * 255 / (255 - s)) >> 1);
    return s == 0 ? 0 : 255 - std::min(255u, ((255 - d) * 255 / s) >> 1);
}

inline uint32_t BlendPinLight(uint32_t d, uint32_t s)
{
    return uint32_t(std::min(std::max(int(d), 2 * int(s) - 255), 2 * int(s)));
}

// The modes whose formula divides or takes a root read a 64 K table of it, indexed
// d x 256 + s, built on first use.
struct SBlendTable {
    explicit SBlendTable(uint32_t (*formula)(uint32_t, uint32_t));
    uint8_t value[65536];
};

template <uint32_t (*Formula)(uint32_t, uint32_t)>
inline uint32_t FromTable(uint32_t d, uint32_t s)
{
    static const SBlendTable table(Formula);
    return table.value[d * 256 + s];
}

inline uint32_t BlendSoftLight(uint32_t d, uint32_t s) { return FromTable<SoftLightFormula>(d, s); }
inline uint32_t BlendBurn(uint32_t d, uint32_t s) { return FromTable<BurnFormula>(d, s); }
inline uint32_t BlendDodge(uint32_t d, uint32_t s) { return FromTable<DodgeFormula>(d, s); }
inline uint32_t BlendVividLight(uint32_t d, uint32_t s) { return FromTable<VividLightFormula>(d, s); }

// The non-separable modes; d and s are whole pixels, the result's alpha is d's.
uint32_t BlendHue(uint32_t d, uint32_t s);
uint32_t BlendSaturation(uint32_t d, uint32_t s);
uint32_t BlendColour(uint32_t d, uint32_t s);
uint32_t BlendLuminosity(uint32_t d, uint32_t s);

// The shared construction: colour c scaled to chroma k and moved to luminance L.
uint32_t SetChromaAndLuminance(uint32_t c, int k, int L);

} // namespace pv
