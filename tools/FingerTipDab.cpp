// The finger tip: it carries the canvas from the previous tip position to the current one. Two
// copies of the canvas alternate; each dab paints from the copy taken where the tip was before.
#include "tools/Dabs.h"
#include "tools/PixelPipeline.h"
#include "tools/ProfileDab.h"

#include "raster/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace pv {

void TakeTipCopy(const TMTC &image, CPenTC &tip, float x, float y, float radius)
{
    tip.R = int32_t(std::ceil(radius)) + 3;
    const int32_t side = 2 * tip.R + 1;
    tip.originX = int32_t(x) - tip.R;
    tip.originY = int32_t(y) - tip.R;
    tip.centreX = x;
    tip.centreY = y;
    tip.fractionX = x - std::floor(x);
    tip.fractionY = y - std::floor(y);
    if (tip.image.Width() != side || tip.image.Height() != side)
        tip.image.Resize(side, side);
    const bool columnsInside = tip.originX >= 0 && tip.originX + side <= image.Width();
    for (int32_t j = 0; j < side; ++j) {
        const int32_t y = tip.originY + j;
        if (columnsInside && y >= 0 && y < image.Height()) {
            std::copy_n(image.RowPixels(y) + tip.originX, side, tip.image.RowPixels(j));
            continue;
        }
        for (int32_t i = 0; i < side; ++i)
            tip.image.At(i, j) = image.ClampedAt(tip.originX + i, y);
    }
}

void FingerTipDab(DabContext &dab, float x, float y, float opacity, float radius)
{
    StrokeDabState &s = dab.track.dab;
    const int32_t ix = int32_t(x), iy = int32_t(y);
    if (ix != s.tipX || iy != s.tipY) {
        s.tipX = ix;
        s.tipY = iy;
        const int32_t previous = s.tipCount++;
        TakeTipCopy(dab.image.colour, s.tips[size_t(1 - (previous & 1))], x, y, radius);
    }
    if (s.tipCount == 0)
        return;
    const CPenTC &tip = s.tips[size_t((s.tipCount - 1) & 1)];
    if (!tip.image.IsValid())
        return;
    // The copy may be smaller than this dab when the radius grew since it was taken: reads
    // beyond it repeat its edge.
    const int32_t last = 2 * tip.R;
    const uint32_t neutral = s.neutralColour;
    ScopedFinalOp blend(s.protectAlpha ? PlainMixOp : AlphaMixOp);
    ProfileDab(dab.image.colour, dab.density * opacity, x, y, radius, [&](int32_t i, int32_t j) {
        const uint32_t p = tip.image.At(std::clamp(i - ix + tip.R, 0, last), std::clamp(j - iy + tip.R, 0, last));
        return AlphaOf(p) ? p : neutral;
    });
}

} // namespace pv
