// The pixel pipeline every dab pixel passes through: the selection mask, the screen tone and
// the gradation colour (each chosen once per stroke, so an unused stage costs nothing), then
// the final operation that puts coverage and colour into the pixel. The pipeline is installed
// as the raster pixel writers for the span of one renderer call and the previous writers come
// back afterwards, so nothing keeps a reference into a paper between calls.
#pragma once

#include "raster/PixelMath.h"
#include "raster/PixelWriters.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace pv {

class CBlockVCH;
class TFlowImage;
class TPaper;
class TStroke;

// The last stage: coverage (0..255) and colour (0xAARRGGBB) into one pixel.
using FinalColourOp = void (*)(uint32_t &pixel, uint32_t coverage, uint32_t colour);

// Plain mix of the colour channels with weight = coverage; alpha kept.
void PlainMixOp(uint32_t &pixel, uint32_t coverage, uint32_t colour);
// ceil(2^24 / d): for n below 2^16, (n · kReciprocals[d]) >> 24 is n / d exactly (the error,
// below n / 2^24 < 1/256, never reaches the 1/d that separates a quotient from the next).
inline constexpr auto kReciprocals = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t d = 1; d < 256; ++d)
        table[d] = ((1u << 24) + d - 1) / d;
    return table;
}();

// Paint that fills transparency: alpha grows by (255 - a) c / 255 and the colour is weighted
// by how much of the new alpha the paint brings. Inline for the loops that paint whole rows.
inline void TransparentPaint(uint32_t &pixel, uint32_t coverage, uint32_t colour)
{
    if (coverage == 0)
        return;
    const uint32_t a = AlphaOf(pixel);
    if (coverage >= 255) {
        pixel = 0xFF000000u | (colour & 0xFFFFFF);
        return;
    }
    if (a == 0) { // the general form's weight is then 255 and the new alpha the coverage
        pixel = (colour & 0xFFFFFF) | (coverage << 24);
        return;
    }
    if (a == 255) {
        pixel = ExactMixColour(colour, pixel, coverage);
        return;
    }
    const uint32_t grown = a + mul255(255 - a, coverage); // >= coverage > 0
    const uint32_t weight = std::min(255u, uint32_t((uint64_t(coverage * 255) * kReciprocals[grown]) >> 24));
    pixel = (ExactMixColour(colour, pixel, weight) & 0xFFFFFF) | (grown << 24);
}
void TransparentPaintOp(uint32_t &pixel, uint32_t coverage, uint32_t colour);
// Removes alpha: a - a c / 255; colour kept.
void AlphaEraseOp(uint32_t &pixel, uint32_t coverage, uint32_t colour);
// Mixes the colour's own alpha in too; the colour channels only where alpha remains.
void AlphaMixOp(uint32_t &pixel, uint32_t coverage, uint32_t colour);

struct PipelineState {
    const CBlockVCH *mask = nullptr; // the selection, looked up at (x + maskX, y + maskY)
    int32_t maskX = 0, maskY = 0;
    bool tone = false, gradation = false;
    bool locked = false; // a command draws through its own writers; strokes leave them alone
    FinalColourOp finalOp = PlainMixOp;
    FinalColourOp strokeFinalOp = PlainMixOp; // the final operation of the stroke as built
};

PipelineState &Pipeline();
// Whether coverage goes straight into the channel (no mask or tone stage, no command's own
// writer): a write then keeps the larger of the two values.
bool PlainCoverage();
// Whether colour pixels go straight to transparent paint (no mask, tone or gradation stage,
// no command's own writer), so a dab may paint whole rows itself.
bool PlainTransparentPaint();

// While set, building the pipeline keeps the writers that are installed (the command that
// erases through the selection runs its own colour operation).
void SetPipelineLocked(bool locked);

// Builds the pipeline for a stroke of the pen on the paper's target layer and installs its
// writers; the destructor puts the previous writers back.
class ScopedPipeline {
public:
    ScopedPipeline(TPaper &paper, const TFlowImage &image, const TStroke &pen, bool protectAlpha, bool plainMix);
    ~ScopedPipeline();
    ScopedPipeline(const ScopedPipeline &) = delete;
    ScopedPipeline &operator=(const ScopedPipeline &) = delete;

private:
    SPixelWriters saved_;
    PipelineState savedState_;
};

// A dab that needs another final operation sets it for its own duration.
class ScopedFinalOp {
public:
    explicit ScopedFinalOp(FinalColourOp op) : saved_(Pipeline().finalOp) { Pipeline().finalOp = op; }
    ~ScopedFinalOp() { Pipeline().finalOp = saved_; }
    ScopedFinalOp(const ScopedFinalOp &) = delete;
    ScopedFinalOp &operator=(const ScopedFinalOp &) = delete;

private:
    FinalColourOp saved_;
};

// The coverage one pixel of a colour dab receives after mask and tone (0: nothing).
uint32_t ScreenedCoverage(int32_t x, int32_t y, uint32_t coverage);
// The colour and coverage of the gradation at a pixel when it is on; otherwise unchanged.
void GradationColour(int32_t x, int32_t y, uint32_t &coverage, uint32_t &colour);

} // namespace pv
