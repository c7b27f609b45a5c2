// The pixel pipeline: the writers for each combination of mask, tone and gradation, the
// final operations, and building the pipeline for a stroke.
#include "tools/PixelPipeline.h"

#include "document/TPaper.h"
#include "raster/PixelMath.h"
#include "tools/DabProfiles.h"
#include "tools/PipelineSources.h"

namespace pv {
namespace {

PipelineState state;
PipelineSources *sources = nullptr;

bool Inside(const CDibCore &image, int32_t x, int32_t y)
{
    return uint32_t(x) < uint32_t(image.Width()) && uint32_t(y) < uint32_t(image.Height());
}

template <bool Mask, bool Tone>
uint32_t Screen(int32_t x, int32_t y, uint32_t coverage)
{
    if constexpr (Mask)
        coverage = mul255(coverage, state.mask->ValueOrZero(x + state.maskX, y + state.maskY));
    if constexpr (Tone)
        coverage = mul255(coverage, sources->ToneAt(x, y));
    return coverage;
}

template <bool Mask, bool Tone>
void ChannelWrite(TChannel &channel, int32_t x, int32_t y, uint8_t weight, uint8_t value)
{
    if (!Inside(channel, x, y))
        return;
    const uint32_t coverage = Screen<Mask, Tone>(x, y, mul255(weight, value));
    uint8_t &pixel = channel.At(x, y);
    if (pixel < coverage)
        pixel = uint8_t(coverage);
}

template <bool Mask, bool Tone, bool Gradation>
void ColourWrite(TMTC &image, int32_t x, int32_t y, uint8_t weight, uint32_t colour)
{
    if (!Inside(image, x, y))
        return;
    uint32_t coverage = Screen<Mask, Tone>(x, y, weight);
    if constexpr (Gradation) {
        const uint32_t g = sources->GradationAt(x, y);
        coverage = mul255(coverage, AlphaOf(g));
        colour = g;
    }
    if (coverage)
        state.finalOp(image.At(x, y), coverage, colour);
}

template <bool Mask, bool Tone>
ColourWriter ColourWriterFor(bool gradation)
{
    return gradation ? ColourWrite<Mask, Tone, true> : ColourWrite<Mask, Tone, false>;
}

} // namespace

bool PlainCoverage() { return CurrentPixelWriters().channel == &ChannelWrite<false, false>; }

bool PlainTransparentPaint()
{
    return CurrentPixelWriters().colour == &ColourWrite<false, false, false> && state.finalOp == TransparentPaintOp;
}

void SetPipelineSources(PipelineSources *s) { sources = s; }
PipelineSources *CurrentPipelineSources() { return sources; }
PipelineState &Pipeline() { return state; }
void SetPipelineLocked(bool locked) { state.locked = locked; }

void PlainMixOp(uint32_t &pixel, uint32_t coverage, uint32_t colour)
{
    pixel = ExactMixColour(colour, pixel, coverage);
}

void TransparentPaintOp(uint32_t &pixel, uint32_t coverage, uint32_t colour) { TransparentPaint(pixel, coverage, colour); }

void AlphaEraseOp(uint32_t &pixel, uint32_t coverage, uint32_t)
{
    const uint32_t a = AlphaOf(pixel);
    pixel = (pixel & 0xFFFFFF) | ((a - mul255(a, coverage)) << 24);
}

void AlphaMixOp(uint32_t &pixel, uint32_t coverage, uint32_t colour)
{
    const uint32_t a = ExactMix(AlphaOf(colour), AlphaOf(pixel), coverage);
    if (a == 0) {
        pixel &= 0xFFFFFF;
        return;
    }
    pixel = (ExactMixColour(colour, pixel, coverage) & 0xFFFFFF) | (a << 24);
}

uint32_t ScreenedCoverage(int32_t x, int32_t y, uint32_t coverage)
{
    if (state.mask)
        coverage = mul255(coverage, state.mask->ValueOrZero(x + state.maskX, y + state.maskY));
    if (state.tone)
        coverage = mul255(coverage, sources->ToneAt(x, y));
    return coverage;
}

void GradationColour(int32_t x, int32_t y, uint32_t &coverage, uint32_t &colour)
{
    if (!state.gradation)
        return;
    const uint32_t g = sources->GradationAt(x, y);
    coverage = mul255(coverage, AlphaOf(g));
    colour = g;
}

ScopedPipeline::ScopedPipeline(TPaper &paper, const TFlowImage &image, const TStroke &pen, bool protectAlpha,
                               bool plainMix)
    : saved_(CurrentPixelWriters()), savedState_(state)
{
    state.mask = nullptr;
    state.maskX = state.maskY = 0;
    if (paper.LayerCount() > 0 && paper.selectionEnabled) {
        const CMaskData *mask = paper.Masks().Current();
        if (mask && mask->Image() && mask->Image()->IsValid()) {
            state.mask = mask->Image();
            state.maskX = mask->ox - image.offsetX;
            state.maskY = mask->oy - image.offsetY;
        }
    }
    const PenCapabilities caps = pen.capabilities();
    state.tone = pen.useTone() && caps.toneAvailable && sources && sources->HasTone();
    state.gradation = pen.useGradation() && caps.gradationAvailable && sources && sources->HasGradation();
    SelectProfile(pen.airMap());
    state.strokeFinalOp = state.finalOp = (protectAlpha || plainMix) ? PlainMixOp : TransparentPaintOp;
    if (state.locked)
        return;
    const bool mask = state.mask != nullptr;
    ChannelWriter channel = mask ? (state.tone ? ChannelWrite<true, true> : ChannelWrite<true, false>)
                                 : (state.tone ? ChannelWrite<false, true> : ChannelWrite<false, false>);
    ColourWriter colour = mask ? (state.tone ? ColourWriterFor<true, true>(state.gradation)
                                             : ColourWriterFor<true, false>(state.gradation))
                               : (state.tone ? ColourWriterFor<false, true>(state.gradation)
                                             : ColourWriterFor<false, false>(state.gradation));
    SetPixelWriters(channel, colour);
}

ScopedPipeline::~ScopedPipeline()
{
    const bool locked = state.locked;
    state = savedState_;
    state.locked = locked;
    SetPixelWriters(saved_.channel, saved_.colour);
}

} // namespace pv
