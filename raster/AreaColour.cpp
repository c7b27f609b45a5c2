// The colour area average along rows: whole-pixel spans in integers, halving and enlarging
// with the vector kernels, everything else in single precision over float rows.
//
// Whole pixels. When every span weight is 1 the sum S of a channel is an integer below 2^24
// and exact in any order, and its divisor n (the product of the two span lengths) is a whole
// number; for n < 2^16 the stored byte trunc((S + 0.01) / n) is floor(S / n):
// - S <= 255 n < 2^24, so floats near S are at most 1 apart: S + 0.01 rounds to a with
//   S <= a <= S + 1/2 (to S itself when they are 1 apart, 0.01 being under half of that).
// - With S = q n + r, 0 <= r < n: q <= a / n <= q + (r + 1/2) / n <= q + 1 - 1 / (2 n).
// - q <= 255 is a float, so the quotient rounds to at least q; floats below q + 1 <= 256
//   are at most 2^-16 apart and 1 / (2 n) > 2^-17, so it rounds below q + 1. Truncated: q,
//   which the clamp to 0-255 leaves alone.
// WholeQuotient forms floor(S / n) as (S M) >> 40 with M = ceil(2^40 / n): M n - 2^40 < n
// adds S (M n - 2^40) / (n 2^40) < 2^24 2^16 / (n 2^40) = 1 / n to S / n, too little to pass
// the next integer, and S M < 2^48 fits.
#include "raster/AreaColour.h"

#include "raster/AreaKernels.h"
#include "raster/AreaSums.h"

#include <emmintrin.h>

#include <algorithm>
#include <vector>

namespace pv {
namespace {

bool HasAvx2()
{
    static const bool available = (__builtin_cpu_init(), __builtin_cpu_supports("avx2") != 0);
    return available;
}

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

void AverageWhole(const Frame &f)
{
    const AreaSpans &columns = f.columns, &rows = f.rows;
    const int32_t count = int32_t(columns.first.size());
    const int32_t halving = columns.window == 2 && rows.window == 2 && HasAvx2() ? HalvingColumns(columns) : 0;
    std::vector<uint32_t> sums(size_t(f.width) * 4);
    WholeQuotient quotient(1);
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
        // Channel sums down the window's rows, from the first column still to do.
        const size_t from = size_t(f.Column(k)) * 4, to = size_t(f.width) * 4;
        std::fill(sums.begin() + ptrdiff_t(from), sums.end(), 0u);
        for (int32_t i = 0; i < rows.window; ++i)
            if (wr[i] != 0.0f) {
                const uint8_t *bytes = f.SourceBytes(y + i);
                for (size_t n = from; n < to; ++n)
                    sums[n] += bytes[n];
            }
        const uint32_t rowShare = uint32_t(rows.share[size_t(j)]);
        for (; k < count; ++k) {
            const float *wc = columns.Weights(k);
            const uint32_t *column = sums.data() + size_t(f.Column(k)) * 4;
            uint32_t s[4] = {};
            for (int32_t l = 0; l < columns.window; ++l)
                if (wc[l] != 0.0f)
                    for (int c = 0; c < 4; ++c)
                        s[c] += column[4 * l + c];
            const uint32_t n = uint32_t(columns.share[size_t(k)]) * rowShare;
            if (n != quotient.n())
                quotient = WholeQuotient(n);
            out[k] = quotient(s[0]) | (quotient(s[1]) << 8) | (quotient(s[2]) << 16) | (quotient(s[3]) << 24);
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

uint32_t StoreLanes(__m128 sum, float divisor)
{
    const __m128i q = _mm_cvttps_epi32(_mm_div_ps(_mm_add_ps(sum, _mm_set1_ps(0.01f)), _mm_set1_ps(divisor)));
    const __m128i words = _mm_packs_epi32(q, q);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

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
    for (int32_t j = 0; j < int32_t(rows.first.size()); ++j) {
        const float *wr = rows.Weights(j);
        for (int32_t i = 0; i < rows.window; ++i)
            lines[size_t(i)] = floats.Row(rows.first[size_t(j)] + i, convert);
        uint32_t *out = f.DestRow(j);
        for (int32_t k = 0; k < int32_t(columns.first.size()); ++k) {
            const float *wc = columns.Weights(k);
            const size_t x = size_t(f.Column(k)) * 4;
            __m128 sum = _mm_setzero_ps();
            for (int32_t i = 0; i < rows.window; ++i) {
                if (wr[i] == 0.0f)
                    continue;
                const float *p = lines[size_t(i)] + x;
                for (int32_t l = 0; l < columns.window; ++l)
                    if (wc[l] != 0.0f)
                        sum = _mm_add_ps(sum, _mm_mul_ps(_mm_loadu_ps(p + 4 * l), _mm_set1_ps(wc[l] * wr[i])));
            }
            out[k] = StoreLanes(sum, columns.share[size_t(k)] * rows.share[size_t(j)]);
        }
    }
}

// Enlarging: windows of two columns and two rows, the rows as channel planes for the AVX2
// kernel; false (nothing done) when the spans do not fit it.
bool AverageEnlarging(const Frame &f)
{
    const AreaSpans &columns = f.columns, &rows = f.rows;
    if (columns.window != 2 || rows.window != 2 || !HasAvx2())
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
    if (!AllCovered(columns) || !AllCovered(rows)) {
        for (int32_t j = 0; j < int32_t(rows.first.size()); ++j)
            for (int32_t k = 0; k < int32_t(columns.first.size()); ++k)
                if (columns.Covers(k) && rows.Covers(j))
                    f.AverageOne(k, j);
        return;
    }
    // Windows start in column order, so the first and the last window bound the columns in use.
    f.begin = columns.first.front();
    f.width = columns.first.back() + columns.window - f.begin;
    if (columns.whole && rows.whole && int64_t(columns.window) * rows.window < 0x10000)
        AverageWhole(f);
    else if (!AverageEnlarging(f))
        AverageFloats(f);
}

} // namespace pv
