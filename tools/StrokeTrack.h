// StrokeTrack: the path of the stroke being drawn — the last eight samples with their
// smoothing, the counters of the stroke, the rectangles the last segment and the whole
// stroke touched, which the paper repaints and commits, and what the dabs carry along.
#pragma once

#include "raster/ImageRect.h"
#include "tools/StrokeDabState.h"

#include <array>
#include <optional>
#include <cstdint>

namespace pv {

struct StrokeSample {
    float x = 0, y = 0, pressure = 0;
};

// Where a stroke's start action happens: live drawing and newer recordings move it by the
// layer offset like every later dab; older recordings were drawn without that.
enum class StrokeStart { Current, Older };

struct FloatRect {
    float left = 0, right = 0, top = 0, bottom = 0;
};

// The integer extent of a float rectangle, every edge on an even coordinate: floor of
// left/top and ceiling of right/bottom plus one, each with its lowest bit cleared.
SExtent EvenExtent(const FloatRect &rect);

class StrokeTrack {
public:
    static constexpr int kHistory = 8;

    // Entry 0 is the newest; the segment being drawn runs from entry 2 to entry 1.
    std::array<StrokeSample, kHistory> history{};
    FloatRect segment{};
    FloatRect stroke{};
    int32_t steps = 0;
    int32_t dabs = 0;
    float length = 0; // pressure-weighted length travelled
    // The start sample's position, and whether the kind's start action is still to run (the
    // renderer runs it before the first segment).
    float startX = 0, startY = 0;
    bool startPending = false;
    StrokeStart startForm = StrokeStart::Current;
    StrokeDabState dab;
    // What the renderer changed with the last segment, when it knows better than the segment's
    // rectangle (paper coordinates; empty when it drew nothing).
    std::optional<SExtent> changed;

    // Counters to 0, an empty stroke rectangle, every entry at the point with pressure 0.
    void Start(float x, float y, StrokeStart form = StrokeStart::Current);
    // The newest sample in front; unless smoothing is off, entry 1 becomes the average of its
    // neighbours, so drawing lags one sample behind through the averaged points.
    void AddSample(float x, float y, float pressure, bool noSmoothing);
    // The segment's rectangle for a pen of that radius, merged into the stroke's.
    void MarkSegment(float maxRadius);

    SExtent SegmentExtent() const { return EvenExtent(segment); }
    SExtent StrokeExtent() const { return EvenExtent(stroke); }
    bool StrokeEmpty() const { return stroke.right < stroke.left || stroke.bottom < stroke.top; }
};

} // namespace pv
