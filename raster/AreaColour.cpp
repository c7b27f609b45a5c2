// The colour area average along rows: whole-pixel spans in integers, halving and enlarging
// with the vector kernels, everything else in single precision over float rows.
//
// Whole pixels. When every span weight is 1 the float sums of the per-pixel average are
// integers below 2^24, so exact in any order: integer sums converted to float are the same
// numbers, and the same division stores the same bytes. Halving goes further: a sum of four
// pixels S = 4 q + r (r <= 3, S <= 1020) is stored as trunc((S + 0.01) / 4), and the exact
// value lies in [q, q + 0.7525], further from q + 1 than the few 2^-16 that rounding near
// 255 moves it, so the byte is q = S >> 2.
#include "raster/AreaColour.h"

#include "raster/AreaKernels.h"
#include "raster/AreaSums.h"
#include "raster/CpuFeatures.h"

#include <algorithm>
#include <vector>

namespace pv {
namespace {

// The most memory the float rows of one window may take; taller windows (a large image shrunk
// to a few pixels) are summed pixel by pixel from the source instead.
constexpr int64_t kFloatRowsBytes = int64_t(32) << 20;

// One resample: the images, the spans and the source columns the windows use.
struct Frame {
    const TMTC &source;
    TMTC &dest;
    const AreaSpans &columns, &rows;
    int32_t destX, destY;
    int32_t begin, width;

    uint32_t *DestRow(int32_t j) const { return dest.RowPixels(destY + j) + destX; }
    // The source bytes of row y from the first column in use.
    const uint8_t *SourceBytes(int32_t y) const
    {
        return reinterpret_cast<const uint8_t *>(source.RowPixels(y) + begin);
    }
    int32_t Column(int32_t k) const { return columns.first[size_t(k)] - begin; }
    void AverageOne(int32_t k, int32_t j) const
    {
        SpanAverage(ColourOps<TMTC>{source}, columns, k, rows, j, DestRow(j) + k);
    }
};

// How many leading destination columns take source columns 2k and 2k + 1 whole.
int32_t HalvingColumns(const AreaSpans &columns)
{
    int32_t k = 0;
    while (k < int32_t(columns.first.size()) && columns.first[size_t(k)] == columns.first[0] + 2 * k &&
           columns.Weights(k)[0] == 1.0f && columns.Weights(k)[1] == 1.0f)
        ++k;
    return k;
}

// Whole-pixel spans: 16-bit channel sums down the window's rows (at most 257 rows of 255),
// then across each span's columns.
void AverageWhole(const Frame &f)
{
    const AreaSpans &columns = f.columns, &rows = f.rows;
    const int32_t count = int32_t(columns.first.size());
    const int32_t halving = columns.window == 2 && rows.window == 2 && VectorKernelsAvailable() ? HalvingColumns(columns) : 0;
    // Where each span's pixels lie in its window (weights 1; the rest are 0).
    std::vector<int32_t> begin(static_cast<size_t>(count)), end(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) {
        const float *wc = columns.Weights(k);
        begin[size_t(k)] = int32_t(std::find(wc, wc + columns.window, 1.0f) - wc);
        end[size_t(k)] = int32_t(std::find(wc + begin[size_t(k)], wc + columns.window, 0.0f) - wc);
    }
    std::vector<uint16_t> sums(size_t(f.width) * 4);
    const __m128i zero = _mm_setzero_si128();
    for (int32_t j = 0; j < int32_t(rows.first.size()); ++j) {
        const float *wr = rows.Weights(j);
        const int32_t y = rows.first[size_t(j)];
        uint32_t *out = f.DestRow(j);
        int32_t k = 0;
        if (halving > 0 && wr[0] == 1.0f && wr[1] == 1.0f)
            k = kernels::HalveRowAvx2(out, f.source.RowPixels(y) + columns.first[0],
                                      f.source.RowPixels(y + 1) + columns.first[0], halving);
        if (k == count)
            continue;
        const size_t from = size_t(f.Column(k)) * 4, to = size_t(f.width) * 4;
        std::fill(sums.begin() + ptrdiff_t(from), sums.end(), uint16_t(0));
        for (int32_t i = 0; i < rows.window; ++i)
            if (wr[i] != 0.0f) {
                const uint8_t *bytes = f.SourceBytes(y + i);
                for (size_t n = from; n < to; ++n)
                    sums[n] = uint16_t(sums[n] + bytes[n]);
            }
        for (; k < count; ++k) {
            const uint16_t *column = sums.data() + size_t(f.Column(k)) * 4;
            __m128i s = zero;
            for (int32_t l = begin[size_t(k)]; l < end[size_t(k)]; ++l)
                s = _mm_add_epi32(s, _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(column + 4 * l)), zero));
            out[k] = StoreColourLanes(_mm_cvtepi32_ps(s), columns.share[size_t(k)] * rows.share[size_t(j)]);
        }
    }
}

// Source rows as floats, converted once each and kept while windows use them: a ring of as
// many rows as a window holds, row y in slot y mod that.
class FloatRows {
public:
    // floatsPerRow floats a row (zeros past what Convert writes).
    FloatRows(int32_t slots, size_t floatsPerRow)
        : floatsPerRow_(floatsPerRow), floats_(size_t(slots) * floatsPerRow), rows_(size_t(slots), -1)
    {
    }
    template <class Convert> const float *Row(int32_t y, Convert &&convert)
    {
        const size_t slot = size_t(y) % rows_.size();
        float *row = floats_.data() + slot * floatsPerRow_;
        if (rows_[slot] != y) {
            convert(y, row);
            rows_[slot] = y;
        }
        return row;
    }

private:
    size_t floatsPerRow_;
    std::vector<float> floats_;
    std::vector<int32_t> rows_;
};

// Rows of pixels as four floats each (blue, green, red, alpha), summed four channels at a
// time: the same products and sums as the per-pixel average, in the same order.
void AverageFloats(const Frame &f)
{
    const AreaSpans &columns = f.columns, &rows = f.rows;
    FloatRows floats(rows.window, size_t(f.width) * 4);
    auto convert = [&f](int32_t y, float *row) {
        const uint8_t *bytes = f.SourceBytes(y);
        for (size_t n = 0; n < size_t(f.width) * 4; ++n)
            row[n] = float(bytes[n]);
    };
    std::vector<const float *> lines(size_t(rows.window));
    const int32_t count = int32_t(columns.first.size());
    std::vector<int32_t> starts(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k)
        starts[size_t(k)] = f.Column(k);
    for (int32_t j = 0; j < int32_t(rows.first.size()); ++j) {
        const float *wr = rows.Weights(j);
        for (int32_t i = 0; i < rows.window; ++i)
            lines[size_t(i)] = floats.Row(rows.first[size_t(j)] + i, convert);
        uint32_t *out = f.DestRow(j);
        int32_t k = 0;
        if (VectorKernelsAvailable())
            k = kernels::AverageFloatRowAvx2({lines.data(), wr, rows.window, starts.data(), columns.weights.data(),
                                              columns.window, columns.share.data(), rows.share[size_t(j)], out, count});
        for (; k < count; ++k) {
            const float *wc = columns.Weights(k);
            const size_t x = size_t(f.Column(k)) * 4;
            __m128 sum = _mm_setzero_ps();
            // A column of weight 0 adds +0 to a sum that is never negative, which leaves it as
            // it is, so only the rows are skipped and the column loop runs without branches.
            for (int32_t i = 0; i < rows.window; ++i) {
                if (wr[i] == 0.0f)
                    continue;
                const float *p = lines[size_t(i)] + x;
                for (int32_t l = 0; l < columns.window; ++l)
                    sum = _mm_add_ps(sum, _mm_mul_ps(_mm_loadu_ps(p + 4 * l), _mm_set1_ps(wc[l] * wr[i])));
            }
            out[k] = StoreColourLanes(sum, columns.share[size_t(k)] * rows.share[size_t(j)]);
        }
    }
}

// Enlarging: windows of two columns and two rows, the rows as channel planes for the AVX2
// kernel; false (nothing done) when the spans do not fit it.
bool AverageEnlarging(const Frame &f)
{
    const AreaSpans &columns = f.columns, &rows = f.rows;
    if (columns.window != 2 || rows.window != 2 || !VectorKernelsAvailable())
        return false;
    const int32_t count = int32_t(columns.first.size()), groups = count / 8;
    std::vector<int32_t> groupBase(static_cast<size_t>(groups)), laneOffset(size_t(groups) * 8);
    std::vector<float> w0(static_cast<size_t>(count)), w1(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) {
        w0[size_t(k)] = columns.Weights(k)[0];
        w1[size_t(k)] = columns.Weights(k)[1];
    }
    for (int32_t g = 0; g < groups; ++g) {
        groupBase[size_t(g)] = f.Column(8 * g);
        for (int32_t i = 0; i < 8; ++i) {
            const int32_t offset = f.Column(8 * g + i) - groupBase[size_t(g)];
            if (offset < 0 || offset > 7)
                return false;
            laneOffset[size_t(8 * g + i)] = offset;
        }
    }
    const ptrdiff_t planeStride = ptrdiff_t(f.width) + 8;
    FloatRows planes(2, size_t(planeStride) * 4);
    auto convert = [&f, planeStride](int32_t y, float *planar) {
        const uint32_t *pixels = f.source.RowPixels(y) + f.begin;
        for (ptrdiff_t x = kernels::SplitRowAvx2(planar, planeStride, pixels, f.width); x < f.width; ++x) {
            const uint32_t p = pixels[x];
            planar[x] = float(p & 0xFF);
            planar[planeStride + x] = float((p >> 8) & 0xFF);
            planar[2 * planeStride + x] = float((p >> 16) & 0xFF);
            planar[3 * planeStride + x] = float(p >> 24);
        }
    };
    for (int32_t j = 0; j < int32_t(rows.first.size()); ++j) {
        const int32_t y = rows.first[size_t(j)];
        const float *wr = rows.Weights(j);
        // A span within one source row leaves the other at weight 0, and its products out.
        const float *top = wr[0] != 0.0f ? planes.Row(y, convert) : nullptr;
        const float *bottom = wr[1] != 0.0f ? planes.Row(y + 1, convert) : nullptr;
        const bool one = !top || !bottom;
        const kernels::EnlargeRow row{top ? top : bottom, one ? nullptr : bottom, planeStride, groupBase.data(),
                                      laneOffset.data(), w0.data(), w1.data(), columns.share.data(),
                                      top ? wr[0] : wr[1], one ? 0.0f : wr[1], rows.share[size_t(j)],
                                      f.DestRow(j), groups};
        for (int32_t k = kernels::EnlargeRowAvx2(row); k < count; ++k)
            f.AverageOne(k, j);
    }
    return true;
}

bool AllCovered(const AreaSpans &spans)
{
    return std::all_of(spans.first.begin(), spans.first.end(), [](int32_t first) { return first >= 0; });
}

} // namespace

void AverageColourRows(const TMTC &source, TMTC &dest, const AreaSpans &columns, const AreaSpans &rows, int32_t destX,
                       int32_t destY)
{
    if (columns.first.empty() || rows.first.empty())
        return;
    Frame f{source, dest, columns, rows, destX, destY, 0, 0};
    if (AllCovered(columns) && AllCovered(rows)) {
        // Windows start in column order, so the first and the last window bound the columns in use.
        f.begin = columns.first.front();
        f.width = columns.first.back() + columns.window - f.begin;
        if (columns.whole && rows.whole && rows.window <= 257 && int64_t(columns.window) * rows.window < 0x10000) {
            AverageWhole(f);
            return;
        }
        if (AverageEnlarging(f))
            return;
        if (int64_t(rows.window) * f.width * int64_t(4 * sizeof(float)) <= kFloatRowsBytes) {
            AverageFloats(f);
            return;
        }
    }
    for (int32_t j = 0; j < int32_t(rows.first.size()); ++j)
        for (int32_t k = 0; k < int32_t(columns.first.size()); ++k)
            if (columns.Covers(k) && rows.Covers(j))
                f.AverageOne(k, j);
}

} // namespace pv
