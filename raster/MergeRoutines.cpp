// The merge routines of the layer modes and the generic merge.
#include "raster/MergeRoutines.h"

namespace pv {

namespace {

struct SCoverage {
    int upper; // a'
    int lower; // dA
    int overlap; // mul255(dA, a')
    int merged; // A
};

SCoverage CoverageOf(uint32_t pixel, uint32_t source, int opacity)
{
    SCoverage c;
    c.upper = int(mul255(source >> 24, uint32_t(opacity)));
    c.lower = int(pixel >> 24);
    c.overlap = int(mul255(uint32_t(c.lower), uint32_t(c.upper)));
    c.merged = c.lower + c.upper - c.overlap;
    return c;
}

int ClampByte(int64_t v)
{
    return int(std::clamp<int64_t>(v, 0, 255));
}

// Writes the merged alpha, then each colour channel from f(d, s) (lower and upper bytes).
template <class F>
void StoreMerged(uint32_t *pixel, uint32_t source, int alpha, F &&f)
{
    const uint32_t p = *pixel;
    const auto ch = [&](int shift) {
        return uint32_t(ClampByte(f(int((p >> shift) & 0xFF), int((source >> shift) & 0xFF)))) << shift;
    };
    *pixel = (uint32_t(alpha) << 24) | ch(16) | ch(8) | ch(0);
}

// The merges whose colour is one formula over the coverages; nothing changes where the
// upper pixel covers nothing.
template <class F>
void CoverageMerge(uint32_t *pixel, uint32_t source, int opacity, F &&f)
{
    const SCoverage c = CoverageOf(*pixel, source, opacity);
    if (c.upper == 0 || c.merged <= 0)
        return;
    StoreMerged(pixel, source, c.merged, [&](int d, int s) { return f(c, int64_t(d), int64_t(s)); });
}

} // namespace

void NormalMerge(uint32_t *pixel, uint32_t source, int opacity)
{
    const uint32_t w = mul255(uint32_t(opacity), source >> 24);
    const uint32_t dA = *pixel >> 24;
    if (w == 0)
        return;
    if (w == 255) {
        *pixel = source | 0xFF000000u;
        return;
    }
    if (dA == 255) {
        *pixel = ExactMixColour(source, *pixel, w);
        return;
    }
    const uint32_t A = dA + mul255(w, 255 - dA);
    *pixel = (*pixel & 0x00FFFFFFu) | (A << 24);
    *pixel = ExactMixColour(source, *pixel, w * 255 / A);
}

void MultiplyMerge(uint32_t *pixel, uint32_t source, int opacity)
{
    CoverageMerge(pixel, source, opacity, [](const SCoverage &c, int64_t d, int64_t s) {
        return (d * c.lower + c.upper * s - c.overlap * (s + d - mul255(uint32_t(d), uint32_t(s)))) / c.merged;
    });
}

void AdditiveMerge(uint32_t *pixel, uint32_t source, int opacity)
{
    const int c = int(mul255(source >> 24, uint32_t(opacity)));
    const int dA = int(*pixel >> 24);
    const int e = int(mul255(uint32_t(dA), uint32_t(c)));
    if (c == 0 || dA + c == e)
        return;
    const int A = dA > 0 ? 255 : dA + c - e;
    StoreMerged(pixel, source, A, [&](int d, int s) { return (int64_t(d) * dA + int64_t(s) * c) / A; });
}

void ScreenMerge(uint32_t *pixel, uint32_t source, int opacity)
{
    CoverageMerge(pixel, source, opacity, [](const SCoverage &c, int64_t d, int64_t s) {
        return (d * c.lower + c.upper * s - c.overlap * mul255(uint32_t(d), uint32_t(s))) / c.merged;
    });
}

void DifferenceMerge(uint32_t *pixel, uint32_t source, int opacity)
{
    CoverageMerge(pixel, source, opacity, [](const SCoverage &c, int64_t d, int64_t s) {
        const int64_t apart = 255 * s - c.lower * d;
        return (c.upper * (apart < 0 ? -apart : apart) + c.lower * d * (255 - c.upper)) / (255 * c.merged);
    });
}

void DarkenMerge(uint32_t *pixel, uint32_t source, int opacity)
{
    CoverageMerge(pixel, source, opacity, [](const SCoverage &c, int64_t d, int64_t s) {
        const int64_t W = c.lower * d + 255 * (255 - c.lower);
        return (c.upper * std::min(W, 255 * s) + W * (255 - c.upper)) / (255 * c.merged);
    });
}

void LightenMerge(uint32_t *pixel, uint32_t source, int opacity)
{
    CoverageMerge(pixel, source, opacity, [](const SCoverage &c, int64_t d, int64_t s) {
        const int64_t P = c.lower * d;
        return (c.upper * std::max(P, 255 * s) + P * (255 - c.upper)) / (255 * c.merged);
    });
}

void GenericMerge(uint32_t *pixel, uint32_t source, int opacity, const SMergeParam &param)
{
    const SCoverage c = CoverageOf(*pixel, source, opacity);
    if (c.upper == 0 || c.merged == 0)
        return;
    uint32_t work = (param.flags & kMergeStartsFromSource) != 0 ? source : param.base;
    param.lower(&work, *pixel, c.lower);
    param.upper(&work, source, c.upper);
    StoreMerged(pixel, work, c.merged, [&](int, int w) { return int64_t(w) * 255 / c.merged; });
}

} // namespace pv
