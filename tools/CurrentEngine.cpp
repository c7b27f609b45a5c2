// The current engine: each segment is stepped along its major axis in pixel steps (half
// steps for thin pens), with radius and opacity following the interpolated pressure; a dab is
// drawn every m steps, m from the pen's interval and radius.
#include "tools/DabEngines.h"
#include "tools/EngineSetup.h"
#include "tools/PixelPipeline.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pv {
namespace {

struct KindSteps {
    DabHandler dab;          // null: the kind draws nothing
    float minimumRatio;      // fixed minimum-size ratio of the oldest pens; 0 none
    float everyStepBelow;    // below this radius every step draws
    float halvedStepsBelow;  // below this radius the steps are halved
};

constexpr std::array<KindSteps, kPenKindCount> kKindSteps = {{
    {PencilDab, 0, 8, 2},
    {WatercolourDab, 0.333f, 0, 0},
    {BlurDab, 1, 0, 0},
    {EraserDab, 1, 4, 3},
    {nullptr, 1, 0, 0},
    {AirbrushDab, 0, 0, 0},
    {FingerTipDab, 0, 0, 0},
    {ExposureDab, 0, 0, 0},
    {ExposureDab, 0, 0, 0},
}};

} // namespace

void CurrentEngine(TPaper &paper, TFlowImage &image, const TStroke &pen, StrokeTrack &track)
{
    track.MarkSegment(pen.maxRadius());
    if (!IsValidPenKind(pen.kind()) || !image.colour.IsValid())
        return;
    DabContext dab = BeginRendering(paper, image, pen, track, false);
    ScopedPipeline pipeline(paper, image, pen, track.dab.protectAlpha, false);
    const KindSteps &kind = kKindSteps[pen.kind()];

    const auto corrected = [&pen](float p) { return std::pow(std::max(p, 0.0f), pen.gamma()); };
    const StrokeSample &end = track.history[1], &start = track.history[2];
    const float x1 = end.x + float(image.offsetX), y1 = end.y + float(image.offsetY), p1 = corrected(end.pressure);
    const float x2 = start.x + float(image.offsetX), y2 = start.y + float(image.offsetY), p2 = corrected(start.pressure);
    const float dx = x1 - x2, dy = y1 - y2, dp = p1 - p2;
    const float L = std::max(std::fabs(dx), std::fabs(dy));
    if (!(L > 0))
        return;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const float divisor = L < 1 ? 1.0f : L;
    float sx = dx / divisor, sy = dy / divisor, sp = dp / divisor;
    int32_t n = int32_t(std::ceil(L));
    const float stepLength = 4 * std::sqrt(dx * dx + dy * dy) / L;

    const float maxRadius = pen.maxRadius();
    float rmin = maxRadius, span = 0;
    if (pen.sizeByPressure() && pen.capabilities().sizeByPressure) {
        const float k = pen.strokeVersion() <= 0 && kind.minimumRatio > 0 ? kind.minimumRatio : pen.minSize() / 100;
        rmin = maxRadius * k;
        span = maxRadius - rmin;
    }
    const float r1 = rmin + span * p1, r2 = rmin + span * p2;
    int32_t m = std::max(1, int32_t(std::ceil(pen.EffectiveInterval() * maxRadius)));
    if (r1 < kind.everyStepBelow || r2 < kind.everyStepBelow)
        m = 1;
    if (r1 < kind.halvedStepsBelow || r2 < kind.halvedStepsBelow) {
        n *= 2;
        sx /= 2;
        sy /= 2;
        sp /= 2;
    }

    dab.xMajor = xMajor;
    // The box of the dabs this segment draws, in work image coordinates.
    float left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    float x = x2 + 0.5f, y = y2 + 0.5f, p = p2;
    for (int32_t i = 0; i < n; ++i) {
        const float opacity = pen.opacityByPressure() ? p : 1.0f;
        const float radius = rmin + span * p;
        if (track.steps % m == 0 && kind.dab) {
            kind.dab(dab, x, y, opacity, radius);
            ++track.dabs;
            left = std::min(left, x - radius), right = std::max(right, x + radius);
            top = std::min(top, y - radius), bottom = std::max(bottom, y + radius);
        }
        x += sx;
        y += sy;
        p = std::clamp(p + sp, 0.0f, 1.0f);
        paper.engineInt[0] = xMajor ? 1 : 0;
        paper.engineInt[1] = 1; // a step position is held
        paper.engineFloat[0] = x;
        paper.engineFloat[1] = y;
        ++track.steps;
        track.length += stepLength * p;
    }
    // Pixels change only under the dabs (a dab writes at most a pixel beyond its radius): the
    // rest of the segment's rectangle is neither composed again nor shown again.
    track.changed = SExtent{};
    if (left > right)
        return;
    SExtent segment = track.SegmentExtent();
    segment.x += image.offsetX;
    segment.y += image.offsetY;
    SEdgeRect rect = ToEdge(segment);
    const SEdgeRect dabs{int32_t(std::floor(left)) - 2, int32_t(std::floor(top)) - 2, int32_t(std::ceil(right)) + 2,
                         int32_t(std::ceil(bottom)) + 2};
    if (!IntersectEdge(rect, dabs))
        return;
    if (PenKindOf(pen.kind()).drawsCoverage)
        ComposeCoverage(paper, image, pen, ToExtent(rect));
    track.changed = SExtent{rect.left - image.offsetX, rect.top - image.offsetY, rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace pv
