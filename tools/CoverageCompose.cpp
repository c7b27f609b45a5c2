// Making the coverage channel visible after each segment: the pencil's coverage in the pen
// colour (or the gradation's) over the layer's own pixels, and blur2's coverage as a weighted
// 3 x 3 blur of them. Both start from the layer, so coverage that only grows never paints twice.
#include "tools/CoverageRows.h"
#include "tools/DabEngines.h"
#include "tools/PixelPipeline.h"

#include "raster/PixelMath.h"

#include <algorithm>

namespace pv {
namespace {

template <bool withGradation, class Paint>
void PaintPixel(uint32_t &pixel, uint8_t cover, int32_t x, int32_t y, uint32_t density, uint32_t penColour, Paint paint)
{
    if (!cover)
        return;
    uint32_t coverage = mul255(cover, density), colour = penColour;
    if constexpr (withGradation)
        GradationColour(x, y, coverage, colour);
    if (coverage)
        paint(pixel, coverage, colour);
}

template <bool withGradation, class Paint>
void PaintCoverage(TFlowImage &image, SExtent rect, uint32_t density, uint32_t penColour, Paint paint)
{
    for (int32_t y = rect.y; y < rect.y + rect.height; ++y) {
        const uint8_t *cover = &image.coverage.At(0, y);
        uint32_t *pixels = image.colour.RowPixels(y);
        for (int32_t x = rect.x; x < rect.x + rect.width; ++x)
            PaintPixel<withGradation>(pixels[x], cover[x], x, y, density, penColour, paint);
    }
}

// The usual stroke: one colour filling transparency, eight pixels at a time, the rest of each
// row one by one.
void PaintTransparent(TFlowImage &image, SExtent rect, uint32_t density, uint32_t penColour)
{
    const int32_t end = rect.x + rect.width;
    for (int32_t y = rect.y; y < rect.y + rect.height; ++y) {
        const uint8_t *cover = &image.coverage.At(0, y);
        uint32_t *pixels = image.colour.RowPixels(y);
        for (int32_t x = rect.x + PaintTransparentCoverage(pixels + rect.x, cover + rect.x, rect.width, density, penColour);
             x < end; ++x)
            PaintPixel<false>(pixels[x], cover[x], x, y, density, penColour, TransparentPaint);
    }
}

void ComposePencil(const CLayerData &layer, TFlowImage &image, const TStroke &pen, bool legacy, SExtent rect)
{
    layer.DrawInto(image.colour, {rect.x, rect.y}, rect);
    const uint32_t density = pen.EffectiveDensityByte(legacy);
    const PipelineState &pipeline = Pipeline();
    // The usual stroke, a plain colour filling transparency, has its operation inlined.
    if (!pipeline.gradation && pipeline.finalOp == TransparentPaintOp)
        PaintTransparent(image, rect, density, pen.color());
    else if (pipeline.gradation)
        PaintCoverage<true>(image, rect, density, pen.color(), pipeline.finalOp);
    else
        PaintCoverage<false>(image, rect, density, pen.color(), pipeline.finalOp);
}

// Every neighbour is read clamped into the layer, so edge pixels blur like the others.
void ComposeBlur2(const CBlockVMTC &layer, TFlowImage &image, SExtent rect)
{
    for (int32_t y = rect.y; y < rect.y + rect.height; ++y)
        for (int32_t x = rect.x; x < rect.x + rect.width; ++x) {
            const uint32_t v = image.coverage.At(x, y);
            if (v < 2) {
                image.colour.At(x, y) = layer.ClampedPixel(x, y);
                continue;
            }
            const uint32_t centre = 32 - std::min(v, 31u);
            uint32_t r = 0, g = 0, b = 0;
            for (int32_t j = -1; j <= 1; ++j)
                for (int32_t i = -1; i <= 1; ++i) {
                    const uint32_t p = layer.ClampedPixel(x + i, y + j);
                    const uint32_t w = (i == 0 && j == 0) ? centre : 1;
                    r += RedOf(p) * w;
                    g += GreenOf(p) * w;
                    b += BlueOf(p) * w;
                }
            const uint32_t total = centre + 8;
            image.colour.At(x, y) = MakeColour(r / total, g / total, b / total, 255);
        }
}

} // namespace

void ComposeCoverage(TPaper &paper, TFlowImage &image, const TStroke &pen, SExtent rect)
{
    const CLayerData *layer = paper.LayerAt(pen.layerIndex());
    if (!layer || !layer->Image())
        return;
    const CBlockVMTC &pixels = *layer->Image();
    if (!ClipToImage(rect, std::min({image.colour.Width(), image.coverage.Width(), pixels.Width()}),
                     std::min({image.colour.Height(), image.coverage.Height(), pixels.Height()})))
        return;
    if (pen.kind() == kPenPencil)
        ComposePencil(*layer, image, pen, !paper.UsesCurrentEngine(), rect);
    else if (pen.kind() == kPenBlur2)
        ComposeBlur2(pixels, image, rect);
}

} // namespace pv
