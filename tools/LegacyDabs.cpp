// The dabs of the legacy engine (kinds 0..4), drawn at a step position with the step's
// pressure: the pencil's soft disc and cross run, the watercolour, a box blur of whole
// quarter-pixel cells, the eraser and blur2's coverage disc.
#include "tools/BoxWindow.h"
#include "tools/Dabs.h"

#include "raster/Discs.h"
#include "raster/PixelMath.h"
#include "raster/PixelWriters.h"
#include "raster/Runs.h"

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

void LegacyPencil(DabContext &dab, float x, float y, float pressure)
{
    const float R = dab.pen.RadiusForPressure(pressure);
    const float V = dab.pen.opacityByPressure() ? pressure : 1.0f;
    TChannel &channel = dab.image.coverage;
    if (R > 1)
        SoftChannelDisc(channel, 255, false, V, R, x, y);
    if (R < 8) {
        if (dab.xMajor)
            ColumnRun(channel, int32_t(x), 255, V, y - R, y + R);
        else
            RowRun(channel, int32_t(y), 255, V, x - R, x + R);
    }
}

void LegacyWatercolour(DabContext &dab, float x, float y, float pressure)
{
    const TStroke &pen = dab.pen;
    const float R = pen.sizeByPressure() ? pressure * (pen.maxRadius() * 2 / 3) + pen.maxRadius() / 3 : pen.maxRadius();
    const uint32_t colour = WatercolourColour(dab, x, y, R + 1, R + 1, R);
    const float o = pen.opacityByPressure() ? 0.35f * pressure : 0.35f;
    ColourDiscThroughWriter(dab.image.colour, colour, pen.smoothEdge(), o, R, x, y);
}

// Pixels whose whole cell lies inside the radius (tested at the four corners, in quarter
// pixels) get the window's plain mean with a coverage falling with the squared distance.
void LegacyBlur(DabContext &dab, float x, float y)
{
    TMTC &image = dab.image.colour;
    const float r = dab.pen.maxRadius();
    if (!dab.layer || !dab.layer->Image())
        return;
    const int32_t half = std::max(1, int32_t(r * dab.pen.effect() / 100));
    SExtent box{int32_t(x - r), int32_t(y - r), 0, 0};
    box.width = int32_t(x + r) - box.x + 1;
    box.height = int32_t(y + r) - box.y + 1;
    if (!ClipToImage(box, std::min(image.Width(), dab.layer->Image()->Width()),
                     std::min(image.Height(), dab.layer->Image()->Height())))
        return;
    const int64_t R2 = int64_t(4 * r) * int64_t(4 * r), cx = int64_t(4 * x), cy = int64_t(4 * y);
    if (R2 == 0)
        return;
    const auto inside = [R2](int64_t dx, int64_t dy) { return dx * dx + dy * dy < R2; };
    BoxWindow window(*dab.layer->Image(), box, half, false);
    const ColourWriter write = CurrentPixelWriters().colour;
    const uint64_t count = window.Count();
    for (int32_t j = box.y; j < box.y + box.height; ++j) {
        window.Row(j);
        const int64_t dy = 4 * int64_t(j) - cy;
        for (int32_t i = box.x; i < box.x + box.width; ++i) {
            const int64_t dx = 4 * int64_t(i) - cx;
            if (!inside(dx, dy) || !inside(dx + 4, dy) || !inside(dx, dy + 4) || !inside(dx + 4, dy + 4))
                continue;
            const uint32_t coverage = uint32_t(255 - (dx * dx + dy * dy) * 255 / R2);
            const BoxWindow::Sums s = window.At(i);
            write(image, i, j, uint8_t(coverage),
                  MakeColour(uint32_t(s[1] / count), uint32_t(s[2] / count), uint32_t(s[3] / count), 0));
        }
    }
}

} // namespace

void LegacyDab(DabContext &dab, float x, float y, float pressure)
{
    const TStroke &pen = dab.pen;
    switch (pen.kind()) {
    case kPenPencil: LegacyPencil(dab, x, y, pressure); break;
    case kPenWatercolour: LegacyWatercolour(dab, x, y, pressure); break;
    case kPenBlur: LegacyBlur(dab, x, y); break;
    case kPenEraser:
        ColourDiscThroughWriter(dab.image.colour, dab.track.dab.neutralColour, pen.smoothEdge(),
                                pen.opacityByPressure() ? pressure : 1.0f, pen.maxRadius(), x, y);
        break;
    case kPenBlur2:
        SoftChannelDisc(dab.image.coverage, uint8_t(std::clamp(pressure * 32, 0.0f, 255.0f)), true, 1, pen.maxRadius(),
                        x, y);
        break;
    default: break;
    }
}

} // namespace pv
