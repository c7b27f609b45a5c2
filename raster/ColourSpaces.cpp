// HSV, HLS and CMYK conversions in 16.16 fixed point, and the default palette.
#include "raster/ColourSpaces.h"

#include "raster/PixelMath.h"

#include <algorithm>

namespace pv {

namespace {

constexpr int64_t kOne = 65536;

int64_t FixedDivide(int64_t a, int64_t b)
{
    return b == 0 ? 0 : (a * kOne) / b;
}

int64_t FixedMultiply(int64_t a, int64_t b)
{
    return (a * b) >> 16;
}

// A channel as a fraction of 255 in 16.16.
int64_t Fraction(uint32_t c)
{
    return (int64_t(c) * 32897) >> 7;
}

uint32_t ChannelOf(int64_t fixed)
{
    return uint32_t(std::clamp<int64_t>(fixed >> 16, 0, 255));
}

uint32_t ColourOf(int64_t r, int64_t g, int64_t b)
{
    return MakeColour(ChannelOf(r), ChannelOf(g), ChannelOf(b), 0);
}

int64_t NormalisedHue(int64_t hue)
{
    hue %= 360 * kOne;
    return hue < 0 ? hue + 360 * kOne : hue;
}

// Which channel is largest, ties going to red, then green.
enum class Largest { Red, Green, Blue };

Largest LargestOf(uint32_t r, uint32_t g, uint32_t b)
{
    if (r >= g && r >= b)
        return Largest::Red;
    return g >= b ? Largest::Green : Largest::Blue;
}

// The hue of the HLS model: v(h) between m1 and m2.
int64_t HlsValue(int64_t m1, int64_t m2, int64_t hue)
{
    hue = NormalisedHue(hue);
    if (hue < 60 * kOne)
        return m1 + FixedMultiply(m2 - m1, hue) / 60;
    if (hue < 180 * kOne)
        return m2;
    if (hue < 240 * kOne)
        return m1 + FixedMultiply(m2 - m1, 240 * kOne - hue) / 60;
    return m1;
}

} // namespace

SHsv ColourToHsv(uint32_t colour)
{
    const uint32_t R = RedOf(colour), G = GreenOf(colour), B = BlueOf(colour);
    const int64_t V = int64_t(std::max({R, G, B})) << 16;
    if (V == 0)
        return {0, 0, 0};
    const int64_t d = V - (int64_t(std::min({R, G, B})) << 16);
    const int64_t S = FixedDivide(d, V) * 255;
    if (S == 0)
        return {0, 0, int32_t(V)};
    const int64_t r = FixedDivide(V - (int64_t(R) << 16), d);
    const int64_t g = FixedDivide(V - (int64_t(G) << 16), d);
    const int64_t b = FixedDivide(V - (int64_t(B) << 16), d);
    int64_t h = 0;
    switch (LargestOf(R, G, B)) {
    case Largest::Red: h = b - g; break;
    case Largest::Green: h = 2 * kOne + r - b; break;
    case Largest::Blue: h = 4 * kOne + g - r; break;
    }
    h *= 60;
    if (h < 0)
        h += 360 * kOne;
    return {int32_t(h), int32_t(S), int32_t(V)};
}

uint32_t HsvToColour(const SHsv &hsv)
{
    const int64_t v = hsv.value, s = hsv.saturation;
    if (s == 0)
        return ColourOf(v, v, v);
    const int64_t sixth = NormalisedHue(hsv.hue) / 60;
    const int64_t sector = sixth >> 16, f = sixth & 0xFFFF;
    const int64_t fs = FixedMultiply(f, s);
    const int64_t p = FixedMultiply(255 * kOne - s, v) / 255;
    const int64_t q = FixedMultiply(255 * kOne - fs, v) / 255;
    const int64_t t = FixedMultiply(255 * kOne - s + fs, v) / 255;
    switch (sector) {
    case 0: return ColourOf(v, t, p);
    case 1: return ColourOf(q, v, p);
    case 2: return ColourOf(p, v, t);
    case 3: return ColourOf(p, q, v);
    case 4: return ColourOf(t, p, v);
    default: return ColourOf(v, p, q);
    }
}

SHls ColourToHls(uint32_t colour)
{
    const uint32_t R = RedOf(colour), G = GreenOf(colour), B = BlueOf(colour);
    const uint32_t high = std::max({R, G, B}), low = std::min({R, G, B});
    if (high == low)
        return {0, int32_t(int64_t(high) << 16), 0};
    const int64_t mx = Fraction(high), mn = Fraction(low), sum = mx + mn, d = mx - mn;
    const int64_t S = FixedDivide(d, sum / 2 > kOne / 2 ? 2 * kOne - sum : sum) * 255;
    int64_t h = 0;
    switch (LargestOf(R, G, B)) {
    case Largest::Red: h = FixedDivide(Fraction(G) - Fraction(B), d); break;
    case Largest::Green: h = 2 * kOne + FixedDivide(Fraction(B) - Fraction(R), d); break;
    case Largest::Blue: h = 4 * kOne + FixedDivide(Fraction(R) - Fraction(G), d); break;
    }
    h *= 60;
    if (h < 0)
        h += 360 * kOne;
    return {int32_t(h), int32_t(sum / 2 * 255), int32_t(S)};
}

uint32_t HlsToColour(const SHls &hls)
{
    if (hls.saturation == 0)
        return ColourOf(hls.lightness, hls.lightness, hls.lightness);
    const int64_t l = (int64_t(hls.lightness) * 32897) >> 23;
    const int64_t s = (int64_t(hls.saturation) * 32897) >> 23;
    const int64_t m2 = l > kOne / 2 ? l + s - FixedMultiply(l, s) : FixedMultiply(l, kOne + s);
    const int64_t m1 = 2 * l - m2;
    const auto channel = [&](int64_t hue) { return HlsValue(m1, m2, hue) * 255; };
    return ColourOf(channel(hls.hue + 120 * kOne), channel(hls.hue), channel(hls.hue - 120 * kOne));
}

uint32_t CmykToColour(uint32_t c, uint32_t m, uint32_t y, uint32_t k)
{
    const int64_t keep = FixedDivide(255 - int64_t(std::min(k, 255u)), 255);
    const auto channel = [&](uint32_t ink) {
        return std::min<int64_t>(255, ((255 - int64_t(std::min(ink, 255u))) * keep + kOne / 2) >> 16);
    };
    return MakeColour(uint32_t(channel(c)), uint32_t(channel(m)), uint32_t(channel(y)), 0);
}

const std::array<uint32_t, 256> &DefaultPalette()
{
    static const std::array<uint32_t, 256> palette = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t i = 0; i < 4; ++i)
            for (uint32_t j = 0; j < 8; ++j)
                for (uint32_t k = 0; k < 8; ++k)
                    entries[64 * i + 8 * j + k] = MakeColour(k * 255 / 7, j * 255 / 7, i * 255 / 3, 0);
        return entries;
    }();
    return palette;
}

} // namespace pv
