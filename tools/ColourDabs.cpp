// The dabs that paint colour on the work image: watercolour, airbrush, darken and lighten,
// eraser; and the kinds' start actions.
#include "tools/Dabs.h"

#include "raster/ColourSpaces.h"
#include "raster/Discs.h"
#include "raster/PixelWriters.h"
#include "raster/PixelMath.h"
#include "raster/SLayerParam.h"
#include "tools/DabProfiles.h"
#include "tools/PixelPipeline.h"
#include "tools/ProfileDab.h"

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

int32_t Clamp(int32_t v, int32_t size) { return std::clamp(v, 0, size - 1); }

// The exposure curve of the dab being drawn.
const ProfileTable *exposureCurve = nullptr;

// The pixel moved to the exposed lightness. Lightness here only takes half levels
// ((max + min) / 2), so a pixel whose exposed lightness rounds to its own half level is left
// exactly as it is: an exposure of 0 changes nothing, whatever the colour conversions round.
void ExposureOp(uint32_t &pixel, uint32_t coverage, uint32_t)
{
    SHls hls = ColourToHls(pixel & 0xFFFFFF);
    const int32_t index = int32_t((int64_t(hls.lightness >> 13) * 2047) / 2040);
    const int64_t exposed = int64_t(255) * (*exposureCurve)[std::clamp(index, 0, kProfileSize - 1)];
    const int64_t half = int64_t(1) << 15;
    if ((exposed + half / 2) / half == (int64_t(hls.lightness) + half / 2) / half)
        return;
    hls.lightness = int32_t(exposed);
    pixel = ExactMixColour(HlsToColour(hls), pixel, coverage);
}

} // namespace

uint32_t AreaAverage(const TMTC &image, int32_t x, int32_t y)
{
    uint32_t b = 0, g = 0, r = 0;
    for (int32_t dy = -5; dy <= 5; ++dy)
        for (int32_t dx = -5; dx <= 5; ++dx) {
            const uint32_t p = image.At(Clamp(x + dx, image.Width()), Clamp(y + dy, image.Height()));
            b += BlueOf(p);
            g += GreenOf(p);
            r += RedOf(p);
        }
    return MakeColour(r / 121, g / 121, b / 121, 0);
}

void StartDabs(DabContext &dab, float x, float y)
{
    StrokeDabState &s = dab.track.dab;
    const TMTC &image = dab.image.colour;
    switch (dab.pen.kind()) {
    case kPenWatercolour: {
        const uint32_t average = AreaAverage(image, int32_t(x), int32_t(y));
        s.surrounding = {float(RedOf(average)), float(GreenOf(average)), float(BlueOf(average))};
        const uint32_t weight = 255 - uint32_t(dab.pen.effect() * 255 / 100);
        s.startColour = ExactMixColour(dab.pen.color(), average, weight) & 0xFFFFFF;
        s.workingColour = s.startColour;
        break;
    }
    case kPenFingerTip:
        s.tipX = int32_t(x);
        s.tipY = int32_t(y);
        s.tipCount = 0;
        TakeTipCopy(image, s.tips[0], x, y, dab.pen.maxRadius());
        break;
    case kPenDarken: s.exposure = BuildExposure(1 + dab.pen.effect() * 0.002); break;
    case kPenLighten: s.exposure = BuildExposure(1 / (1 + dab.pen.effect() * 0.002)); break;
    default: break;
    }
}

uint32_t WatercolourColour(DabContext &dab, float x, float y, float ahead, float behind, float speedRadius)
{
    const TStroke &pen = dab.pen;
    StrokeDabState &s = dab.track.dab;
    const TMTC &image = dab.image.colour;
    const float travel = pen.speed() * speedRadius * 2;
    const float f = travel > 0 ? std::min(1.0f, dab.track.length / travel) : 1.0f;
    uint32_t working = ExactMixColour(pen.color(), s.startColour, uint32_t(f * 255)) & 0xFFFFFF;

    const auto sample = [&](float sx, float sy) {
        return image.At(Clamp(int32_t(sx), image.Width()), Clamp(int32_t(sy), image.Height()));
    };
    const uint32_t p[4] = {sample(x, y + ahead), sample(x, y - behind), sample(x + ahead, y), sample(x - behind, y)};
    const uint32_t mean[3] = {
        (RedOf(p[0]) + RedOf(p[1]) + RedOf(p[2]) + RedOf(p[3])) >> 2,
        (GreenOf(p[0]) + GreenOf(p[1]) + GreenOf(p[2]) + GreenOf(p[3])) >> 2,
        (BlueOf(p[0]) + BlueOf(p[1]) + BlueOf(p[2]) + BlueOf(p[3])) >> 2,
    };
    const float limit = pen.env() / 10;
    for (int c = 0; c < 3; ++c) {
        const float diff = float(mean[c]) - s.surrounding[c];
        if (std::fabs(diff) >= limit)
            s.surrounding[c] += diff > 0 ? limit : -limit;
        else
            s.surrounding[c] = float(mean[c]);
    }
    const auto channel = [](float v) { return uint32_t(std::clamp(v, 0.0f, 255.0f)); };
    const uint32_t running = MakeColour(channel(s.surrounding[0]), channel(s.surrounding[1]), channel(s.surrounding[2]), 0);
    working = ExactMixColour(running, working, uint32_t(pen.env() * 2.55f)) & 0xFFFFFF;
    s.workingColour = working;
    return working;
}

void WatercolourDab(DabContext &dab, float x, float y, float opacity, float radius)
{
    // The samples behind the centre lie at r - 1, not r + 1: the recorded strokes were painted so.
    const uint32_t colour = WatercolourColour(dab, x, y, radius + 1, radius - 1, dab.pen.maxRadius());
    const float o = dab.density * (dab.pen.opacityByPressure() ? 0.35f * opacity : 0.35f);
    ColourDiscThroughWriter(dab.image.colour, colour, dab.pen.smoothEdge(), o, radius, x, y);
}

void AirbrushDab(DabContext &dab, float x, float y, float opacity, float radius)
{
    ProfileDab(dab.image.colour, dab.density * opacity, x, y, radius, dab.pen.color());
}

void ExposureDab(DabContext &dab, float x, float y, float opacity, float radius)
{
    exposureCurve = &dab.track.dab.exposure;
    ScopedFinalOp exposure(ExposureOp);
    ProfileDab(dab.image.colour, dab.density * opacity, x, y, radius, [](int32_t, int32_t) { return 0u; });
}

void EraserDab(DabContext &dab, float x, float y, float opacity, float radius)
{
    ScopedFinalOp erase(dab.track.dab.protectAlpha ? PlainMixOp : AlphaEraseOp);
    ColourDiscThroughWriter(dab.image.colour, dab.track.dab.neutralColour, dab.pen.smoothEdge(), dab.density * opacity,
                            radius, x, y);
}

} // namespace pv
