// Recorder sources held as plain values, for recording without a paper: headless tools,
// tests and benchmarks set the fields they need and leave the rest at a blank paper's values.
#pragma once

#include "events/RecorderSources.h"

#include <vector>

namespace pv::events {

struct PlainRecorderSources : RecorderSources {
    uint32_t paperColour = 0x00FFFFFF;
    uint16_t layer = 0, selection = 0;
    bool selectionEnabled = false;
    GradationPointsRecord points;
    GradationFormRecord form;
    GradationFormRecord entryForm;
    std::vector<uint8_t> slots;
    std::optional<TonePatternSource> tone; // its pixels are taken from tonePixels
    std::vector<uint8_t> tonePixels;

    uint32_t PaperColour() const override { return paperColour; }
    uint16_t ActiveLayerIndex() const override { return layer; }
    uint16_t ActiveSelectionIndex() const override { return selection; }
    bool SelectionEnabled() const override { return selectionEnabled; }
    GradationPointsRecord GradationPoints() const override { return points; }
    GradationFormRecord GradationForm() const override { return form; }
    GradationRamp CurrentGradationRamp() const override { return {entryForm, slots}; }
    std::optional<TonePatternSource> CurrentTonePattern() const override
    {
        if (!tone)
            return std::nullopt;
        TonePatternSource t = *tone;
        t.pixels = tonePixels;
        return t;
    }
};

} // namespace pv::events
