// The legacy engine of the oldest recordings: whole-pixel steps along the segment's major
// axis, a dab of kinds 0..4 every m steps with m from the kind's radius, colours always by
// the plain mix; and the straight lines of those recordings.
#include "tools/DabEngines.h"
#include "tools/EngineSetup.h"
#include "tools/PixelPipeline.h"

#include <algorithm>
#include <cmath>

namespace pv {
namespace {

int32_t LegacyInterval(const TStroke &pen, float pEnd, float pStart)
{
    const auto byRadius = [&pen, pEnd, pStart](float divisor) {
        return std::min(int32_t(pen.RadiusForPressure(pEnd) / divisor), int32_t(pen.RadiusForPressure(pStart) / divisor)) + 1;
    };
    switch (pen.kind()) {
    case kPenPencil: return byRadius(8);
    case kPenWatercolour: return int32_t(pen.maxRadius() / 12) + 1;
    case kPenEraser: return byRadius(4);
    case kPenBlur:
    case kPenBlur2: return int32_t(pen.maxRadius() / 4) + 1;
    default: return 1;
    }
}

bool HalvedSteps(const TStroke &pen, float pEnd, float pStart)
{
    if (pen.kind() == kPenPencil) {
        if (pen.sizeByPressure())
            return pen.RadiusForPressure(pEnd) < 2 || pen.RadiusForPressure(pStart) < 2;
        return pen.maxRadius() < 2;
    }
    return pen.kind() == kPenEraser && pen.maxRadius() < 3;
}

} // namespace

void LegacyEngine(TPaper &paper, TFlowImage &image, const TStroke &pen, StrokeTrack &track)
{
    track.MarkSegment(pen.maxRadius());
    if (!image.colour.IsValid())
        return;
    DabContext dab = BeginRendering(paper, image, pen, track, true);
    ScopedPipeline pipeline(paper, image, pen, track.dab.protectAlpha, true);
    const auto corrected = [&pen](float p) {
        return pen.gamma() != 0 ? std::clamp(std::pow(std::max(p, 0.0f), pen.gamma()), 0.0f, 1.0f) : p;
    };
    const StrokeSample &end = track.history[1], &start = track.history[2];
    const float pEnd = corrected(end.pressure), pStart = corrected(start.pressure);
    const float dx = end.x - start.x, dy = end.y - start.y;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const float major = xMajor ? dx : dy;
    const int32_t whole = int32_t(std::fabs(major));
    int32_t count = whole + 1;
    float sx = 0, sy = 0, sp = 0;
    if (std::fabs(major) > 0) {
        const float a = std::fabs(major);
        sx = xMajor ? (dx > 0 ? 1.0f : -1.0f) : dx / a;
        sy = xMajor ? dy / a : (dy > 0 ? 1.0f : -1.0f);
        sp = (pEnd - pStart) / std::max(a, 1.0f);
    }
    const bool draws = pen.kind() <= kPenBlur2;
    const int32_t m = draws ? LegacyInterval(pen, pEnd, pStart) : 1;
    if (draws && HalvedSteps(pen, pEnd, pStart)) {
        count *= 2;
        sx /= 2;
        sy /= 2;
        sp /= 2;
    }
    const float growth = 4 * std::sqrt(dx * dx + dy * dy) / float(whole + 1);
    dab.xMajor = xMajor;
    float x = start.x, y = start.y, p = pStart;
    for (int32_t i = 0; i < count; ++i) {
        if (draws && track.steps % m == 0) {
            LegacyDab(dab, x + 0.5f, y + 0.5f, p);
            ++track.dabs;
        }
        x += sx;
        y += sy;
        p = std::clamp(p + sp, 0.0f, 1.0f);
        paper.engineInt[0] = xMajor ? 1 : 0;
        ++track.steps;
        track.length += growth * p;
    }
    if (PenKindOf(pen.kind()).drawsCoverage)
        ComposeCoverage(paper, image, pen, track.SegmentExtent());
}

bool LegacyStraightLine(TPaper &paper, TFlowImage &image, TStroke &pen, StrokeTrack &track, float x0, float y0,
                        float x1, float y1, SExtent &rect)
{
    if (!paper.BeginStroke(image, pen, track, x0, y0, 1, false))
        return false;
    track.history[2] = {x0, y0, 1};
    track.history[1] = {x1, y1, 1};
    LegacyEngine(paper, image, pen, track);
    track.MarkSegment(pen.maxRadius());
    return paper.EndStroke(image, pen, track, rect, false);
}

} // namespace pv
