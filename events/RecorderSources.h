// What the event recorder reads from the paper, its gradation and the application's tone
// list when it writes state packets. The paper implements this; the recorder holds no
// pointer into the paper's own classes, and tests hand it a plain fake.
//
// Colours are passed as the values the paper holds; the recorder writes their low three
// bytes. The pen (TStroke) is handed to the recorder separately when recording starts.
#pragma once

#include "events/StatePayloads.h"

#include <cstdint>
#include <optional>
#include <span>

namespace pv::events {

// The current gradation entry: its settings and its colour stops in their 24-byte form.
struct GradationRamp {
    GradationFormRecord form;            // shape, mirror, wrap, repeat of the entry
    std::span<const uint8_t> slots;      // a multiple of 24 bytes
};

// The current tone pattern of the tone list.
struct TonePatternSource {
    // The pattern record as it stands in a tone set: identifier, bits per pixel, type,
    // option flag (bit 1 of flags), the three parameters, width, height and name. The
    // recorder fills in the sizes and the compressed bytes.
    ToneDefineRecord record;
    uint32_t ownValue = 0;               // a generated tone's own value (type 1)
    std::span<const uint8_t> pixels;     // width × height bytes for a bitmap pattern (type 0)
};

class RecorderSources {
public:
    virtual ~RecorderSources() = default;

    virtual uint32_t PaperColour() const = 0;
    virtual uint16_t ActiveLayerIndex() const = 0;
    virtual uint16_t ActiveSelectionIndex() const = 0;
    virtual bool SelectionEnabled() const = 0;
    // The paper's gradation: its two points and its form (colourBytes 0).
    virtual GradationPointsRecord GradationPoints() const = 0;
    virtual GradationFormRecord GradationForm() const = 0;
    virtual GradationRamp CurrentGradationRamp() const = 0;
    // Nothing when the tone list has no current pattern.
    virtual std::optional<TonePatternSource> CurrentTonePattern() const = 0;
};

} // namespace pv::events
