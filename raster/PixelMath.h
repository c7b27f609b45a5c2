// Integer arithmetic of the pixel routines. Colour pixels are 0xAARRGGBB (bytes blue, green,
// red, alpha in memory), straight alpha.
//
// x * y / 255 for bytes is (x * y * 32897) >> 23: 32897 / 2^23 is 1/255 with a relative error
// of 1.5e-5, too small to move any quotient of numbers up to 65025 across an integer, so the
// multiply-shift equals the integer quotient. Every product stays below 2^31.
#pragma once

#include <cstdint>

namespace pv {

inline uint32_t mul255(uint32_t x, uint32_t y)
{
    return (x * y * 32897u) >> 23;
}

// Colour byte c over byte d with weight w (0-255): w = 0 keeps d, w = 255 gives c.
inline uint32_t ExactMix(uint32_t c, uint32_t d, uint32_t w)
{
    return (c * w * 32897u + d * (8388735u - w * 32897u)) >> 23;
}

// The exact mix of the colour's blue, green and red into a pixel; the pixel's alpha is kept.
inline uint32_t ExactMixColour(uint32_t colour, uint32_t pixel, uint32_t w)
{
    const uint32_t b = ExactMix(colour & 0xFF, pixel & 0xFF, w);
    const uint32_t g = ExactMix((colour >> 8) & 0xFF, (pixel >> 8) & 0xFF, w);
    const uint32_t r = ExactMix((colour >> 16) & 0xFF, (pixel >> 16) & 0xFF, w);
    return (pixel & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

// Grey value of a colour's red, green and blue.
inline uint32_t GreyOf(uint32_t r, uint32_t g, uint32_t b)
{
    return (r * 19595u + g * 38469u + b * 7472u) >> 16;
}

inline uint32_t GreyOfColour(uint32_t colour)
{
    return GreyOf((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

inline uint32_t BlueOf(uint32_t c) { return c & 0xFF; }
inline uint32_t GreenOf(uint32_t c) { return (c >> 8) & 0xFF; }
inline uint32_t RedOf(uint32_t c) { return (c >> 16) & 0xFF; }
inline uint32_t AlphaOf(uint32_t c) { return c >> 24; }

inline uint32_t MakeColour(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Exchanges red and blue: the 0x00BBGGRR colours of settings and dialogs and pixel colours.
inline uint32_t SwapRedBlue(uint32_t c)
{
    return (c & 0xFF00FF00u) | ((c >> 16) & 0xFF) | ((c & 0xFF) << 16);
}

} // namespace pv
