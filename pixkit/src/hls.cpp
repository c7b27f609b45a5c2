// Colour conversions between blue-green-red bytes and hue (degrees), lightness x 255 and
// saturation x 255, in single precision.
#include "pixkit.h"

#include <algorithm>

namespace {

constexpr float kByteToUnit = 0.003921569f;

float HueValue(float m1, float m2, float hue)
{
    while (hue >= 360.0f)
        hue -= 360.0f;
    while (hue < 0.0f)
        hue += 360.0f;
    if (hue < 60.0f)
        return m1 + (m2 - m1) * hue / 60.0f;
    if (hue < 180.0f)
        return m2;
    if (hue < 240.0f)
        return m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
    return m1;
}

uint8_t ToByte(float value)
{
    // Truncation toward zero, held to the byte range.
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f));
}

} // namespace

extern "C" {

void pixkitRgbToHls(const uint8_t *bgr, float *hls)
{
    const float r = bgr[2] * kByteToUnit;
    const float g = bgr[1] * kByteToUnit;
    const float b = bgr[0] * kByteToUnit;
    const float mx = std::max({r, g, b});
    const float mn = std::min({r, g, b});
    const float l = (mx + mn) / 2.0f;
    if (mx == mn) {
        hls[0] = 0.0f;
        hls[1] = l * 255.0f;
        hls[2] = 0.0f;
        return;
    }
    const float d = mx - mn;
    const float s = l <= 0.5f ? d / (mx + mn) : d / (2.0f - mx - mn);
    float h;
    if (r == mx)
        h = (g - b) / d;
    else if (g == mx)
        h = (b - r) / d + 2.0f;
    else
        h = (r - g) / d + 4.0f;
    h *= 60.0f;
    if (h < 0.0f)
        h += 360.0f;
    if (h >= 360.0f)
        h -= 360.0f;
    hls[0] = h;
    hls[1] = l * 255.0f;
    hls[2] = s * 255.0f;
}

void pixkitHlsToRgb(const float *hls, uint8_t *bgr)
{
    const float hue = hls[0];
    const float l = hls[1] / 255.0f;
    const float s = hls[2] / 255.0f;
    if (hls[2] == 0.0f) {
        bgr[0] = bgr[1] = bgr[2] = ToByte(hls[1]);
        return;
    }
    const float m2 = l < 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float m1 = 2.0f * l - m2;
    bgr[2] = ToByte(255.0f * HueValue(m1, m2, hue + 120.0f));
    bgr[1] = ToByte(255.0f * HueValue(m1, m2, hue));
    bgr[0] = ToByte(255.0f * HueValue(m1, m2, hue - 120.0f));
}

int pixkitLightness(const uint8_t *bgr)
{
    const int mx = std::max({bgr[0], bgr[1], bgr[2]});
    const int mn = std::min({bgr[0], bgr[1], bgr[2]});
    return (mx + mn) >> 1;
}

} // extern "C"
