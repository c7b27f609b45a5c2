// Soft light and the non-separable blend functions.
#include "raster/BlendFunctions.h"

namespace pv {

namespace {

// Bitwise integer square root (floor).
uint64_t SquareRoot(uint64_t n)
{
    uint64_t root = 0;
    uint64_t bit = uint64_t(1) << 46;
    while (bit > n)
        bit >>= 2;
    while (bit != 0) {
        if (n >= root + bit) {
            n -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return root;
}

// The soft-light lift of d: ((16x - 12)x + 4)x for x = d / 255 up to 1/4, sqrt(x) above,
// in 16.16 fixed point, returned on the byte scale.
int64_t SoftLightLift(uint32_t d)
{
    const int64_t x = int64_t(d) * 65536 / 255;
    int64_t D;
    if (x <= 0x4000) {
        const int64_t a = 16 * x - (int64_t(12) << 16);
        const int64_t b = ((a * x) >> 16) + (int64_t(4) << 16);
        D = (b * x) >> 16;
    } else {
        D = int64_t(SquareRoot(uint64_t(x) << 16));
    }
    return (D * 255) >> 16;
}

int Chroma(uint32_t c)
{
    const int r = int(RedOf(c)), g = int(GreenOf(c)), b = int(BlueOf(c));
    return std::max({r, g, b}) - std::min({r, g, b});
}

// Grey value of three possibly negative channels (the shift is arithmetic).
int GreySigned(int r, int g, int b)
{
    return (r * 19595 + g * 38469 + b * 7472) >> 16;
}

// n / q for 0 <= n <= 65025 and 1 <= q <= 255 by a reciprocal: with m = floor(2^32 / q) + 1
// the error of n m / 2^32 stays below 1/q, so the floor is the integer quotient.
struct SReciprocals {
    uint64_t m[256] = {};
    constexpr SReciprocals()
    {
        for (uint64_t q = 1; q < 256; ++q)
            m[q] = (uint64_t(1) << 32) / q + 1;
    }
};

constexpr SReciprocals kReciprocals;

inline int Quotient(int n, int q)
{
    return int((uint64_t(n) * kReciprocals.m[q]) >> 32);
}

// The same truncating toward zero for a numerator of either sign.
inline int SignedQuotient(int n, int q)
{
    return n >= 0 ? Quotient(n, q) : -Quotient(-n, q);
}

} // namespace

SBlendTable::SBlendTable(uint32_t (*formula)(uint32_t, uint32_t))
{
    for (uint32_t d = 0; d < 256; ++d)
        for (uint32_t s = 0; s < 256; ++s)
            value[d * 256 + s] = static_cast<uint8_t>(formula(d, s));
}

uint32_t SoftLightFormula(uint32_t d, uint32_t s)
{
    int64_t value;
    if (s >= 128)
        value = int64_t(d) * 255 + (SoftLightLift(d) - int64_t(d)) * (2 * int64_t(s) - 255);
    else
        value = int64_t(d) * 255 - (255 - 2 * int64_t(s)) * mul255(d, 255 - d);
    return uint32_t(std::clamp<int64_t>(value / 255, 0, 255));
}

uint32_t SetChromaAndLuminance(uint32_t c, int k, int L)
{
    const int ch[3] = {int(RedOf(c)), int(GreenOf(c)), int(BlueOf(c))};
    const int lo = std::min({ch[0], ch[1], ch[2]});
    const int hi = std::max({ch[0], ch[1], ch[2]});
    const uint32_t alpha = c & 0xFF000000u;
    if (k == 0 || hi == lo)
        return alpha | uint32_t(L) * 0x010101u;
    int x[3];
    for (int i = 0; i < 3; ++i)
        x[i] = k == hi - lo ? ch[i] - lo : Quotient(k * (ch[i] - lo), hi - lo);
    const int m = GreySigned(x[0], x[1], x[2]);
    const int diff = L - m;
    int out[3];
    if (diff + hi >= 256) {
        // Moving up by diff would clip: scale towards white instead.
        const int r = std::max(1, GreySigned(hi - x[0], hi - x[1], hi - x[2]));
        for (int i = 0; i < 3; ++i)
            out[i] = 255 - SignedQuotient((255 - L) * (hi - x[i]), r);
    } else if (diff < 0) {
        for (int i = 0; i < 3; ++i)
            out[i] = Quotient(L * x[i], m);
    } else {
        for (int i = 0; i < 3; ++i)
            out[i] = x[i] + diff;
    }
    const auto byte = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return alpha | byte(out[0]) << 16 | byte(out[1]) << 8 | byte(out[2]);
}

uint32_t BlendHue(uint32_t d, uint32_t s)
{
    return (d & 0xFF000000u) | (SetChromaAndLuminance(s, Chroma(d), int(GreyOfColour(d))) & 0xFFFFFFu);
}

uint32_t BlendSaturation(uint32_t d, uint32_t s)
{
    return SetChromaAndLuminance(d, Chroma(s), int(GreyOfColour(d)));
}

uint32_t BlendColour(uint32_t d, uint32_t s)
{
    return (d & 0xFF000000u) | (SetChromaAndLuminance(s, Chroma(s), int(GreyOfColour(d))) & 0xFFFFFFu);
}

uint32_t BlendLuminosity(uint32_t d, uint32_t s)
{
    return SetChromaAndLuminance(d, Chroma(d), int(GreyOfColour(s)));
}

} // namespace pv
