// Channel, soft channel and colour discs, and the disc grid.
#include "raster/Discs.h"

#include "raster/DrawingCoordinates.h"
#include "raster/PixelMath.h"
#include "raster/PixelWriters.h"

#include <array>
#include <cstring>

namespace pv {

namespace {

// A disc in sub-sample units and the pixel box it touches, cut to the image
// (inclusive).
struct SDiscFrame {
    int64_t radius2 = 0;
    int64_t cx = 0;
    int64_t cy = 0;
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = -1;
    int64_t bottom = -1;
};

bool FrameDisc(const CDibCore &image, int units, double radius, double x, double y, SDiscFrame &frame)
{
    if (!image.IsValid() || !IsDrawable(radius) || !IsDrawable(x) || !IsDrawable(y) || !(radius > 0))
        return false;
    const int64_t r = Trunc(units * radius);
    frame.radius2 = r * r;
    frame.cx = Trunc(units * x);
    frame.cy = Trunc(units * y);
    frame.left = Trunc(x - radius);
    frame.right = Trunc(x + radius);
    frame.top = Trunc(y - radius);
    frame.bottom = Trunc(y + radius);
    return ClipRange(frame.left, frame.right, image.Width()) && ClipRange(frame.top, frame.bottom, image.Height());
}

// The largest offset k with k^2 < radius2 - d^2: on a line d sub-samples from
// the centre, the points at offsets -k..k lie strictly inside; -1 when none
// does.
int64_t Reach(int64_t d, int64_t radius2)
{
    const int64_t rest = radius2 - d * d - 1;
    if (rest < 0)
        return -1;
    int64_t k = int64_t(std::sqrt(double(rest)));
    while (k * k > rest)
        --k;
    while ((k + 1) * (k + 1) <= rest)
        ++k;
    return k;
}

// One pixel row of a disc: the reach along its top and bottom edges (for the
// corners) and along each of its sub-rows, so that classifying and sub-sampling
// a pixel costs a few comparisons instead of squared distances.
struct SDiscRow {
    int64_t topReach = -1;
    int64_t bottomReach = -1;
    int64_t subReach[5] = {-1, -1, -1, -1, -1};
};

SDiscRow MeasureRow(int64_t dy, int64_t radius2, int units)
{
    SDiscRow row;
    for (int t = 0; t < units; ++t)
        row.subReach[t] = Reach(dy + t, radius2);
    row.topReach = row.subReach[0];
    row.bottomReach = Reach(dy + units, radius2);
    return row;
}

// How many of the pixel's four corners, `units` apart from (dx, dy), lie
// strictly inside.
int CornersInside(const SDiscRow &row, int64_t dx, int units)
{
    const int64_t left = dx < 0 ? -dx : dx, right = dx + units < 0 ? -(dx + units) : dx + units;
    return int(left <= row.topReach) + int(right <= row.topReach) + int(left <= row.bottomReach) +
           int(right <= row.bottomReach);
}

// How many of the units x units sub-samples from (dx, dy) lie strictly inside.
int SamplesInside(const SDiscRow &row, int64_t dx, int units)
{
    int n = 0;
    for (int t = 0; t < units; ++t) {
        const int64_t k = row.subReach[t];
        const int64_t lo = std::max<int64_t>(0, -k - dx), hi = std::min<int64_t>(units - 1, k - dx);
        n += hi >= lo ? int(hi - lo + 1) : 0;
    }
    return n;
}

// Whether a channel disc samples a pixel: always up to radius 3, above only when a corner
// lies inside.
bool Sampled(const SDiscRow &row, int64_t dx, bool useCorners)
{
    return !useCorners || CornersInside(row, dx, 5) > 0;
}

// 255 at the centre falling to 0 at the rim, from the squared distance of the
// top-left corner (d2 < radius2 keeps d2 * 255 far inside 64 bits).
uint32_t Falloff(int64_t d2, int64_t radius2)
{
    return d2 >= radius2 ? 0u : uint32_t(255 - d2 * 255 / radius2);
}

// The grid positions start + k step along one axis, k = first..last: those up
// to clamp(limit, 2, size) whose disc box can reach pixel 0 (earlier ones are
// skipped, not visited). Steps below kMinGridStep are refused: discs that close
// together land on the same sub-samples, and a step of 0 would never end.
constexpr double kMinGridStep = 1.0 / 64;

struct SGridAxis {
    int64_t first = 0;
    int64_t last = -1;
};

bool GridAxis(double start, double step, double limit, int32_t size, double radius, SGridAxis &axis)
{
    if (!IsDrawable(start) || !IsDrawable(step) || !(step >= kMinGridStep) || std::isnan(limit))
        return false;
    const double end = std::min(std::max(limit, 2.0), double(size));
    axis.first = start + radius <= -1 ? Trunc(std::floor((-1 - radius - start) / step)) : 0;
    axis.last = end < start ? -1 : Trunc(std::floor((end - start) / step));
    return axis.first <= axis.last;
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - int64_t(a % b != 0 && (a < 0) != (b < 0));
}

int64_t CeilDiv(int64_t a, int64_t b)
{
    return -FloorDiv(-a, b);
}

// The columns of a row whose four corners all lie inside: -k <= dx and dx + units <= k for
// the smaller of the two edge reaches k; empty (first > last) when there are none.
void InsideSpan(const SDiscFrame &frame, const SDiscRow &row, int units, int64_t &first, int64_t &last)
{
    first = frame.right + 1;
    last = frame.right;
    const int64_t k = std::min(row.topReach, row.bottomReach);
    if (k < 0)
        return;
    const int64_t from = CeilDiv(frame.cx - k, units);
    const int64_t to = FloorDiv(frame.cx + k - units, units);
    if (from > to)
        return;
    first = std::max(frame.left, from);
    last = std::min(frame.right, to);
    if (first > last) {
        first = frame.right + 1;
        last = frame.right;
    }
}

// The columns of a row that can have a corner inside: |dx| <= K or |dx + units| <= K for the
// larger edge reach K, i.e. -K - units <= dx <= K (a superset: pixels in it are still
// tested one by one); empty (from > to) when no corner of the row is inside.
void TouchedSpan(const SDiscFrame &frame, const SDiscRow &row, int units, int64_t &from, int64_t &to)
{
    const int64_t k = std::max(row.topReach, row.bottomReach);
    from = std::max(frame.left, CeilDiv(frame.cx - k - units, units));
    to = std::min(frame.right, FloorDiv(frame.cx + k, units));
    if (k < 0)
        from = to + 1;
}

// Walks a 5 x 5 sub-sampled disc row by row: edge(x, y, n, dx, dy) for every sampled pixel
// outside the row's inside span, with n its covered sub-samples and (dx, dy) its top-left
// corner relative to the centre, and inside(y, first, last, dy) for the span, whose pixels
// count as fully covered (every formula gives an inside pixel what it gives an edge pixel
// with all 25 sub-samples).
template <class EdgePixel, class InsideSpanOfRow>
void WalkChannelDisc(const SDiscFrame &frame, bool useCorners, EdgePixel &&edge, InsideSpanOfRow &&inside)
{
    for (int64_t j = frame.top; j <= frame.bottom; ++j) {
        const int64_t dy = 5 * j - frame.cy;
        const SDiscRow row = MeasureRow(dy, frame.radius2, 5);
        const auto edgePixels = [&](int64_t from, int64_t to) {
            for (int64_t i = from; i <= to; ++i) {
                const int64_t dx = 5 * i - frame.cx;
                if (Sampled(row, dx, useCorners))
                    edge(int32_t(i), int32_t(j), uint32_t(SamplesInside(row, dx, 5)), dx, dy);
            }
        };
        int64_t first = frame.right + 1, last = frame.right, from = frame.left, to = frame.right;
        if (useCorners) {
            InsideSpan(frame, row, 5, first, last);
            TouchedSpan(frame, row, 5, from, to);
        }
        edgePixels(from, std::min(to, first - 1));
        if (first <= last)
            inside(int32_t(j), first, last, dy);
        edgePixels(std::max(from, last + 1), to);
    }
}

// How a channel disc puts its pixels: through the installed writer, or with the exact
// writer inlined on row pointers (a disc's frame lies inside the channel, so no bounds
// check is needed).
struct SWriterPut {
    TChannel &channel;
    ChannelWriter write;

    void Pixel(int32_t i, int32_t j, uint8_t weight, uint8_t value) const { write(channel, i, j, weight, value); }
    void Span(int32_t j, int64_t first, int64_t last, uint8_t weight, uint8_t value) const
    {
        for (int64_t i = first; i <= last; ++i)
            write(channel, int32_t(i), j, weight, value);
    }
    void Raise(int32_t j, int64_t first, int64_t last, uint8_t value) const
    {
        for (int64_t i = first; i <= last; ++i)
            if (channel.At(int32_t(i), j) < value)
                write(channel, int32_t(i), j, 255, value);
    }
};

struct SExactPut {
    TChannel &channel;
    // The exact mix of one value at one weight as a table of the old byte, built by the first
    // span that needs it: a disc mixes one value at one weight into all its inside pixels.
    mutable std::array<uint8_t, 256> mix{};
    mutable int mixWeight = -1;

    void Pixel(int32_t i, int32_t j, uint8_t weight, uint8_t value) const
    {
        uint8_t &pixel = channel.At(i, j);
        pixel = uint8_t(ExactMix(value, pixel, weight));
    }
    void Span(int32_t j, int64_t first, int64_t last, uint8_t weight, uint8_t value) const
    {
        uint8_t *row = channel.Row(j);
        if (weight == 255) {
            std::memset(row + first, value, size_t(last - first + 1));
            return;
        }
        if (mixWeight != weight) {
            for (uint32_t p = 0; p < 256; ++p)
                mix[p] = uint8_t(ExactMix(value, p, weight));
            mixWeight = weight;
        }
        for (int64_t i = first; i <= last; ++i)
            row[i] = mix[row[i]];
    }
    void Raise(int32_t j, int64_t first, int64_t last, uint8_t value) const
    {
        uint8_t *row = channel.Row(j);
        for (int64_t i = first; i <= last; ++i)
            row[i] = std::max(row[i], value);
    }
};

template <class Write>
void DrawColourDisc(TMTC &image, bool soft, double opacity, double radius, double x, double y, Write &&write)
{
    SDiscFrame frame;
    if (!FrameDisc(image, 4, radius, x, y, frame))
        return;
    const uint32_t full = uint32_t(Trunc(ClampFraction(opacity) * 255));
    const bool falloff = soft && radius >= 3;
    for (int64_t j = frame.top; j <= frame.bottom; ++j) {
        const int64_t dy = 4 * j - frame.cy;
        const SDiscRow row = MeasureRow(dy, frame.radius2, 4);
        const auto falloffAt = [&](int64_t dx) { return falloff ? Falloff(dx * dx + dy * dy, frame.radius2) : 0u; };
        const auto edgePixels = [&](int64_t from, int64_t to) {
            for (int64_t i = from; i <= to; ++i) {
                const int64_t dx = 4 * i - frame.cx;
                if (CornersInside(row, dx, 4) == 0)
                    continue;
                const uint32_t n = uint32_t(SamplesInside(row, dx, 4));
                write(int32_t(i), int32_t(j), uint8_t(falloff ? (full * falloffAt(dx) * n) >> 12 : full * n / 16));
            }
        };
        int64_t first, last, from, to;
        InsideSpan(frame, row, 4, first, last);
        TouchedSpan(frame, row, 4, from, to);
        edgePixels(from, std::min(to, first - 1));
        for (int64_t i = first; i <= last; ++i)
            write(int32_t(i), int32_t(j), uint8_t(falloff ? (full * falloffAt(4 * i - frame.cx)) >> 8 : full));
        edgePixels(std::max(from, last + 1), to);
    }
}

template <class Put>
void DrawChannelDisc(const Put &put, uint8_t value, bool keepLarger, double opacity, double radius, double x, double y)
{
    SDiscFrame frame;
    if (!FrameDisc(put.channel, 5, radius, x, y, frame))
        return;
    const double b = ClampFraction(opacity);
    const uint32_t fullWeight = uint32_t(Trunc(b * 255));
    const uint8_t fullValue = uint8_t(Trunc(value * b));
    const auto edge = [&](int32_t i, int32_t j, uint32_t n, int64_t, int64_t) {
        if (!keepLarger) {
            put.Pixel(i, j, uint8_t(fullWeight * n / 25), value);
            return;
        }
        // Edges scale the same value as the inside, so a disc of a value below 255 never
        // gets a rim brighter than its middle.
        const uint32_t raised = fullValue * n / 25;
        if (put.channel.At(i, j) < raised)
            put.Pixel(i, j, 255, uint8_t(raised));
    };
    const auto inside = [&](int32_t j, int64_t first, int64_t last, int64_t) {
        if (keepLarger)
            put.Raise(j, first, last, fullValue);
        else
            put.Span(j, first, last, uint8_t(fullWeight), value);
    };
    WalkChannelDisc(frame, radius > 3, edge, inside);
}

} // namespace

void ChannelDisc(TChannel &channel, uint8_t value, bool keepLarger, double opacity, double radius, double x, double y)
{
    const ChannelWriter write = CurrentPixelWriters().channel;
    if (write == ExactChannelWriter)
        DrawChannelDisc(SExactPut{channel}, value, keepLarger, opacity, radius, x, y);
    else
        DrawChannelDisc(SWriterPut{channel, write}, value, keepLarger, opacity, radius, x, y);
}

void SoftChannelDisc(TChannel &channel, uint8_t value, bool soft, double opacity, double radius, double x, double y)
{
    SDiscFrame frame;
    if (!FrameDisc(channel, 5, radius, x, y, frame))
        return;
    const uint32_t fullValue = uint32_t(Trunc(value * ClampFraction(opacity)));
    // Inside: V F / 256 = V F 25 / 6400, so one formula serves both kinds of pixel.
    const auto coverage = [&](uint32_t n, int64_t dx, int64_t dy) {
        return soft ? fullValue * Falloff(dx * dx + dy * dy, frame.radius2) * n / 6400 : fullValue * n / 25;
    };
    // The table mix at weight 255 stores the value.
    const auto edge = [&](int32_t i, int32_t j, uint32_t n, int64_t dx, int64_t dy) {
        uint8_t &pixel = channel.At(i, j);
        pixel = uint8_t(std::max<uint32_t>(pixel, coverage(n, dx, dy)));
    };
    const auto inside = [&](int32_t j, int64_t first, int64_t last, int64_t dy) {
        uint8_t *row = channel.Row(j);
        for (int64_t i = first; i <= last; ++i)
            row[i] = uint8_t(std::max<uint32_t>(row[i], coverage(25, 5 * i - frame.cx, dy)));
    };
    WalkChannelDisc(frame, radius > 3, edge, inside);
}

void ColourDisc(TMTC &image, uint32_t colour, bool soft, double opacity, double radius, double x, double y)
{
    DrawColourDisc(image, soft, opacity, radius, x, y,
                   [&](int32_t i, int32_t j, uint8_t weight) { image.SetWeightedByTable(i, j, weight, colour); });
}

void ColourDiscThroughWriter(TMTC &image, uint32_t colour, bool soft, double opacity, double radius, double x, double y)
{
    const ColourWriter write = CurrentPixelWriters().colour;
    DrawColourDisc(image, soft, opacity, radius, x, y,
                   [&](int32_t i, int32_t j, uint8_t weight) { write(image, i, j, weight, colour); });
}

void DiscGrid(TChannel &channel, double radius, double xStep, double yStep, double xLimit, double yLimit, double xStart,
              double yStart)
{
    SGridAxis columns, rows;
    if (!channel.IsValid() || !IsDrawable(radius) || !(radius > 0) ||
        !GridAxis(xStart, xStep, xLimit, channel.Width(), radius, columns) ||
        !GridAxis(yStart, yStep, yLimit, channel.Height(), radius, rows))
        return;
    for (int64_t k = rows.first; k <= rows.last; ++k)
        for (int64_t h = columns.first; h <= columns.last; ++h)
            ChannelDisc(channel, 255, false, 1.0, radius, xStart + double(h) * xStep, yStart + double(k) * yStep);
}

} // namespace pv
