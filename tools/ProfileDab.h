// The soft dab shared by the airbrush, darken, lighten and finger-tip pens: every pixel of the
// box around the centre inside the radius gets the current profile's value at its distance
// times the strength, through the colour writer, with the colour the caller gives for it.
// A dab of one colour into plain transparent paint (the airbrush) paints whole rows.
#pragma once

#include "raster/PixelWriters.h"
#include "tools/CoverageRows.h"
#include "tools/DabProfiles.h"
#include "tools/PixelPipeline.h"
#include "tools/ProfileCoverages.h"

#include <algorithm>
#include <cmath>

namespace pv {

// The dab's coverage row by row, in pieces: row(j, from, n, coverages) for pixels from..from+n
// of row j (0 outside the radius).
template <class Row>
void ProfileRows(const TMTC &image, float strength, float x, float y, float radius, Row row)
{
    if (!(strength > 0) || !(radius > 0))
        return;
    const int32_t x0 = std::max(0, int32_t(std::floor(x - radius)));
    const int32_t x1 = std::min(image.Width(), int32_t(std::ceil(x + radius)));
    const int32_t y0 = std::max(0, int32_t(std::floor(y - radius)));
    const int32_t y1 = std::min(image.Height(), int32_t(std::ceil(y + radius)));
    const ProfileTable &profile = CurrentProfile();
    const int64_t fixedStrength = int64_t(double(strength) * 65536.0);
    const double scale = 2047.0 / radius, r2 = double(radius) * radius;
    constexpr int32_t kPiece = 256;
    uint8_t coverages[kPiece];
    for (int32_t j = y0; j < y1; ++j) {
        const double dy = j + 0.5 - y;
        for (int32_t from = x0; from < x1; from += kPiece) {
            const int32_t n = std::min(kPiece, x1 - from);
            ProfileCoverages(coverages, n, from, x, dy, scale, r2, profile.data(), fixedStrength);
            row(j, from, n, coverages);
        }
    }
}

template <class ColourAt>
void ProfileDab(TMTC &image, float strength, float x, float y, float radius, ColourAt colourAt)
{
    const ColourWriter write = CurrentPixelWriters().colour;
    ProfileRows(image, strength, x, y, radius, [&](int32_t j, int32_t from, int32_t n, const uint8_t *coverages) {
        for (int32_t k = 0; k < n; ++k)
            if (coverages[k] > 0)
                write(image, from + k, j, coverages[k], colourAt(from + k, j));
    });
}

// The same in one colour; straight into transparent paint, whole rows are painted at once.
inline void ProfileDab(TMTC &image, float strength, float x, float y, float radius, uint32_t colour)
{
    if (!PlainTransparentPaint())
        return ProfileDab(image, strength, x, y, radius, [colour](int32_t, int32_t) { return colour; });
    ProfileRows(image, strength, x, y, radius, [&](int32_t j, int32_t from, int32_t n, const uint8_t *coverages) {
        uint32_t *pixels = image.RowPixels(j) + from;
        for (int32_t k = PaintTransparentCoverage(pixels, coverages, n, 255, colour); k < n; ++k)
            if (coverages[k] > 0)
                TransparentPaint(pixels[k], coverages[k], colour);
    });
}

} // namespace pv
