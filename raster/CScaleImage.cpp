// The area average and the four resamplers built on it.
#include "raster/CScaleImage.h"

#include "raster/AreaColour.h"
#include "raster/AreaSums.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pv {
namespace {

constexpr int64_t kOne = 0x10000;

float Weight(int64_t part) { return float(part) / 65536.0f; }

// The weighted sum along one row (or column) of the span: a left part, whole pixels, a right
// part; `at(i)` reads pixel i of the line.
template <class Sum, class At>
[[gnu::always_inline]] inline void LineSum(Sum &sum, int64_t first, int64_t whole, int64_t head, int64_t tail, float scale,
                                           At &&at)
{
    int64_t i = first;
    if (head > 0)
        sum.Add(at(i++), Weight(head) * scale);
    for (int64_t k = 0; k < whole; ++k)
        sum.Add(at(i++), scale);
    if (tail > 0)
        sum.Add(at(i), Weight(tail) * scale);
}

} // namespace

int32_t FixedQuotient(int64_t a, int64_t b)
{
    const int64_t ua = std::llabs(a), ub = std::llabs(b);
    const int64_t q = ((ua / ub) << 16) | ((((ua % ub) << 32) / ub) >> 16);
    return int32_t((a < 0) != (b < 0) ? -q : q);
}

bool CScaleImage::Prepare(SExtent &source, int32_t sourceW, int32_t sourceH, SExtent &dest, int32_t destW, int32_t destH)
{
    if (!ClipToImage(source, sourceW, sourceH) || dest.width <= 0 || dest.height <= 0)
        return false;
    // The scales belong to the whole destination; cutting it to the image only leaves out
    // pixels, so a view larger than its window renders just what shows, at the right scale.
    hScale_ = FixedQuotient(source.width, dest.width);
    vScale_ = FixedQuotient(source.height, dest.height);
    const SExtent whole = dest;
    if (!ClipToImage(dest, destW, destH))
        return false;
    sourceW_ = sourceW;
    sourceH_ = sourceH;
    destW_ = destW;
    destH_ = destH;
    sourceStartX_ = int64_t(source.x) * kOne + int64_t(dest.x - whole.x) * hScale_;
    sourceStartY_ = int64_t(source.y) * kOne + int64_t(dest.y - whole.y) * vScale_;
    destRect_ = dest;
    return true;
}

template <class Ops>
bool CScaleImage::AreaAverage(const Ops &ops, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int32_t sourceW,
                              int32_t sourceH, typename Ops::Pixel *out)
{
    const int64_t xe = std::min<int64_t>(int64_t(sourceW) * kOne, x1), ye = std::min<int64_t>(int64_t(sourceH) * kOne, y1);
    x0 = std::max<int64_t>(x0, 0);
    y0 = std::max<int64_t>(y0, 0);
    if (x0 >= xe || y0 >= ye)
        return false;
    const int64_t c0 = x0 >> 16, r0 = y0 >> 16;
    const int64_t cx = (x0 + kOne - 1) & ~(kOne - 1), cy = (y0 + kOne - 1) & ~(kOne - 1);
    const int64_t fx = xe & ~(kOne - 1), fy = ye & ~(kOne - 1);
    const bool oneColumn = fx - cx < -0xFFFF, oneRow = fy - cy < -0xFFFF;
    typename Ops::Sum sum;
    if (oneColumn && oneRow) {
        sum.Add(ops.At(int32_t(c0), int32_t(r0)), 1.0f);
        ops.Store(out, sum, 1.0f);
        return true;
    }
    const int64_t pl = cx - x0, pr = xe & (kOne - 1), nx = (fx - cx) >> 16;
    const int64_t pt = cy - y0, pb = ye & (kOne - 1), ny = (fy - cy) >> 16;
    // One row of the span with its vertical weight.
    auto addRow = [&](int64_t r, float weight) {
        if (oneColumn)
            sum.Add(ops.At(int32_t(c0), int32_t(r)), weight);
        else
            LineSum(sum, c0, nx, pl, pr, weight, [&](int64_t c) { return ops.At(int32_t(c), int32_t(r)); });
    };
    if (oneRow) {
        addRow(r0, 1.0f);
    } else {
        int64_t r = r0;
        if (pt > 0)
            addRow(r++, Weight(pt));
        for (int64_t k = 0; k < ny; ++k)
            addRow(r++, 1.0f);
        if (pb > 0)
            addRow(r, Weight(pb));
    }
    const float width = oneColumn ? 1.0f : Weight(xe - x0), height = oneRow ? 1.0f : Weight(ye - y0);
    ops.Store(out, sum, width * height);
    return true;
}

void CScaleImage::BuildSpans(AreaSpans &columns, AreaSpans &rows) const
{
    columns.Build(sourceStartX_, hScale_, destRect_.width, sourceW_);
    rows.Build(sourceStartY_, vScale_, destRect_.height, sourceH_);
}

template <class Ops, class Write> void CScaleImage::Render(const Ops &ops, Write &&write) const
{
    AreaSpans columns, rows;
    BuildSpans(columns, rows);
    typename Ops::Pixel pixel{};
    for (int32_t j = 0; j < destRect_.height; ++j)
        for (int32_t k = 0; k < destRect_.width; ++k)
            if (rows.Covers(j) && columns.Covers(k)) {
                SpanAverage(ops, columns, k, rows, j, &pixel);
                write(destRect_.x + k, destRect_.y + j, pixel);
            }
}

bool CScaleImageTMTC::Resample(SExtent source, SExtent dest)
{
    if (!source_ || !dest_ || !Prepare(source, source_->Width(), source_->Height(), dest, dest_->Width(), dest_->Height()))
        return false;
    AreaSpans columns, rows;
    BuildSpans(columns, rows);
    AverageColourRows(*source_, *dest_, columns, rows, destRect_.x, destRect_.y);
    return true;
}

bool CScaleImageTMTC::SamplePixel(uint32_t *pixel, int64_t left, int64_t top, int64_t right, int64_t bottom) const
{
    if (!source_ || right <= left || bottom <= top)
        return false;
    return AreaAverage(ColourLanesOps{*source_}, left, top, right, bottom, source_->Width(), source_->Height(), pixel);
}

void CScaleImageTMTC::SampleSquares(uint32_t *out, int32_t count, const int64_t *lefts, const int64_t *tops, int64_t size,
                                    uint32_t outside) const
{
    const ColourLanesOps ops{*source_};
    for (int32_t i = 0; i < count; ++i)
        if (size <= 0 || !AreaAverage(ops, lefts[i], tops[i], lefts[i] + size, tops[i] + size, source_->Width(),
                                      source_->Height(), out + i))
            out[i] = outside;
}

bool CScaleImageCH::Resample(SExtent source, SExtent dest)
{
    if (!Prepare(source, source_.Width(), source_.Height(), dest, dest_.Width(), dest_.Height()))
        return false;
    Render(ByteOps<TChannel>{source_}, [this](int32_t x, int32_t y, uint8_t v) { dest_.At(x, y) = v; });
    return true;
}

bool CScaleLayerImage::Resample(SExtent source, SExtent dest)
{
    if (!Prepare(source, source_.Width(), source_.Height(), dest, dest_.Width(), dest_.Height()))
        return false;
    bool ok = true;
    Render(ColourOps<CBlockVMTC>{source_}, [&](int32_t x, int32_t y, uint32_t p) { ok = dest_.WriteClampedPixel(x, y, p) && ok; });
    return ok;
}

bool CScaleMaskImage::Resample(SExtent source, SExtent dest)
{
    if (!Prepare(source, source_.Width(), source_.Height(), dest, dest_.Width(), dest_.Height()))
        return false;
    bool ok = true;
    Render(ByteOps<CBlockVCH>{source_}, [&](int32_t x, int32_t y, uint8_t v) {
        if (v != 0 || dest_.Value(x, y) != 0)
            ok = dest_.WriteClampedValue(x, y, v) && ok;
    });
    return ok;
}

} // namespace pv
