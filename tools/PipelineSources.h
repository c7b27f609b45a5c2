// PipelineSources: where the pixel pipeline takes the screen-tone value and the gradation
// colour of a pixel. The tones and the gradation fill it in when they are in use; without a
// source both stages are off and cost nothing.
#pragma once

#include <cstdint>

namespace pv {

class PipelineSources {
public:
    virtual ~PipelineSources() = default;
    // Whether a tone pattern is set; without one the tone stage passes coverage through.
    virtual bool HasTone() const = 0;
    // The current tone pattern's value (0..255) at a work-image pixel, its offset applied.
    virtual uint8_t ToneAt(int32_t x, int32_t y) const = 0;
    // Whether a gradation can colour pixels.
    virtual bool HasGradation() const = 0;
    // The gradation colour at a work-image pixel in pixel form, 0xAARRGGBB; the alpha scales
    // the coverage.
    virtual uint32_t GradationAt(int32_t x, int32_t y) const = 0;
};

// The process-wide source; null (the start) turns both stages off.
void SetPipelineSources(PipelineSources *sources);
PipelineSources *CurrentPipelineSources();

} // namespace pv
