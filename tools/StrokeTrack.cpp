// The stroke's sample history and rectangles.
#include "tools/StrokeTrack.h"

#include <algorithm>
#include <cmath>

namespace pv {

SExtent EvenExtent(const FloatRect &rect)
{
    const auto even = [](double v) { return int32_t(std::clamp(v, -1.0e9, 1.0e9)) & ~1; };
    const int32_t x0 = even(std::floor(rect.left)), y0 = even(std::floor(rect.top));
    const int32_t x1 = even(std::ceil(rect.right) + 1), y1 = even(std::ceil(rect.bottom) + 1);
    return {x0, y0, x1 - x0, y1 - y0};
}

void StrokeTrack::Start(float x, float y, StrokeStart form)
{
    steps = dabs = 0;
    length = 0;
    stroke = {65535.0f, -65535.0f, 65535.0f, -65535.0f};
    segment = stroke;
    history.fill({x, y, 0.0f});
    startX = x;
    startY = y;
    startPending = true;
    startForm = form;
}

void StrokeTrack::AddSample(float x, float y, float pressure, bool noSmoothing)
{
    std::copy_backward(history.begin(), history.end() - 1, history.end());
    history[0] = {x, y, pressure};
    if (!noSmoothing)
        history[1] = {(history[0].x + history[2].x) / 2, (history[0].y + history[2].y) / 2,
                      (history[0].pressure + history[2].pressure) / 2};
}

void StrokeTrack::MarkSegment(float maxRadius)
{
    const float r = maxRadius + 2;
    const auto around = [r](const StrokeSample &s) { return FloatRect{s.x - r, s.x + r, s.y - r, s.y + r}; };
    const auto merge = [](FloatRect &into, const FloatRect &with) {
        into.left = std::min(into.left, with.left);
        into.right = std::max(into.right, with.right);
        into.top = std::min(into.top, with.top);
        into.bottom = std::max(into.bottom, with.bottom);
    };
    segment = around(history[1]);
    merge(stroke, segment);
    const FloatRect older = around(history[2]);
    merge(segment, older);
    merge(stroke, older);
}

} // namespace pv
