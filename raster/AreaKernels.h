// The vector row kernels of the colour area average (AreaKernelsAvx2.cpp). Each gives
// exactly the bytes of the per-pixel average for the rows it is handed and returns how many
// destination pixels it wrote; the caller finishes the rest. Call them only when the
// processor has AVX2.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pv::kernels {

// Halving: destination pixel i is the average of source pixels 2i and 2i + 1 of both rows
// (four whole pixels; weight 1 each, divisor 4).
int32_t HalveRowAvx2(uint32_t *dest, const uint32_t *row0, const uint32_t *row1, int32_t count);

// Enlarging by a factor of at least 1 on both axes: every span covers a window of two
// source columns and two source rows. The two rows come as channel planes of floats
// (blue, green, red, alpha, planeStride apart) indexed from the first column in use; each
// plane holds at least 8 readable floats past the last column in use. Destination pixels go
// in groups of 8: group g reads from column groupBase[g] and pixel k of it from column
// groupBase[g] + laneOffset[k] (0-7) and the next one, with the weights w0[k], w1[k] and
// divisor share[k] x rowShare. A span within one source row has no bottom row (null).
struct EnlargeRow {
    const float *top, *bottom;
    ptrdiff_t planeStride;
    const int32_t *groupBase, *laneOffset;
    const float *w0, *w1, *share;
    float topWeight, bottomWeight, rowShare;
    uint32_t *dest;
    int32_t groups;
};
int32_t EnlargeRowAvx2(const EnlargeRow &row);

// Any spans over rows of float pixels (blue, green, red, alpha; four floats a pixel):
// destination pixels in pairs, each pair's channel sums in the two halves of one register.
// Pixel k's window starts at float pixel columns[k] of every line and has the weights
// columnWeights[k × window ...]; line i has the weight rowWeights[i] (lines of weight 0 are
// skipped); the divisor is share[k] × rowShare.
struct FloatRow {
    const float *const *lines;
    const float *rowWeights;
    int32_t rows;
    const int32_t *columns;
    const float *columnWeights;
    int32_t window;
    const float *share;
    float rowShare;
    uint32_t *dest;
    int32_t count;
};
int32_t AverageFloatRowAvx2(const FloatRow &row);

// Pixels to channel planes of floats (blue, green, red, alpha, planeStride apart).
int32_t SplitRowAvx2(float *planes, ptrdiff_t planeStride, const uint32_t *pixels, int32_t count);

} // namespace pv::kernels
