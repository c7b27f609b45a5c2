// The spans of one resample axis, each formed as the per-pixel area average forms it.
#include "raster/AreaSpans.h"

#include <algorithm>

namespace pv {
namespace {

constexpr int64_t kOne = 0x10000;

float Weight(int64_t part) { return float(part) / 65536.0f; }

// One span: its first source pixel, its weights in order and its share of the divisor.
struct Span {
    int64_t first = -1;
    float weights[3] = {};  // the left part, the whole pixels (weight 1), the right part
    int64_t head = 0, whole = 0, tail = 0;
    float share = 0;
    int64_t Length() const { return head + whole + tail; }
    float At(int64_t k) const { return k < head ? weights[0] : k < head + whole ? 1.0f : weights[2]; }
};

Span SpanOf(int64_t x0, int64_t x1, int32_t sourceSize)
{
    Span span;
    const int64_t xe = std::min<int64_t>(int64_t(sourceSize) * kOne, x1);
    x0 = std::max<int64_t>(x0, 0);
    if (x0 >= xe)
        return span;
    span.first = x0 >> 16;
    const int64_t cx = (x0 + kOne - 1) & ~(kOne - 1), fx = xe & ~(kOne - 1);
    if (fx - cx < -0xFFFF) {
        span.whole = 1;
        span.share = 1.0f;
        return span;
    }
    const int64_t pl = cx - x0, pr = xe & (kOne - 1);
    span.head = pl > 0;
    span.weights[0] = Weight(pl);
    span.whole = (fx - cx) >> 16;
    span.tail = pr > 0;
    span.weights[2] = Weight(pr);
    span.share = Weight(xe - x0);
    return span;
}

} // namespace

void AreaSpans::Build(int64_t start, int32_t scale, int32_t count, int32_t sourceSize)
{
    std::vector<Span> spans(size_t(std::max(count, 0)));
    window = 1;
    int64_t x0 = start;
    for (Span &span : spans) {
        span = SpanOf(x0, x0 + scale, sourceSize);
        window = int32_t(std::max<int64_t>(window, span.Length()));
        x0 += scale;
    }
    whole = true;
    first.assign(spans.size(), -1);
    weights.assign(spans.size() * size_t(window), 0.0f);
    share.assign(spans.size(), 0.0f);
    for (size_t i = 0; i < spans.size(); ++i) {
        const Span &span = spans[i];
        if (span.first < 0)
            continue;
        // A window never reaches past the source: a span is at most as long as the source,
        // so the window slides back over pixels the span leaves at weight 0.
        const int64_t begin = std::min<int64_t>(span.first, int64_t(sourceSize) - window);
        first[i] = int32_t(begin);
        float *w = weights.data() + i * size_t(window);
        for (int64_t k = 0; k < span.Length(); ++k) {
            w[span.first - begin + k] = span.At(k);
            whole = whole && span.At(k) == 1.0f;
        }
        share[i] = span.share;
        whole = whole && share[i] == float(span.Length());
    }
}

} // namespace pv
