// The soft dab shared by the airbrush, darken, lighten and finger-tip pens: every pixel of the
// box around the centre inside the radius gets the current profile's value at its distance
// times the strength, through the colour writer, with the colour the caller gives for it.
#pragma once

#include "raster/PixelWriters.h"
#include "tools/DabProfiles.h"
#include "tools/ProfileIndices.h"

#include <algorithm>
#include <cmath>

namespace pv {

template <class ColourAt>
void ProfileDab(TMTC &image, float strength, float x, float y, float radius, ColourAt colourAt)
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
    const ColourWriter write = CurrentPixelWriters().colour;
    constexpr int32_t kPiece = 256;
    int32_t indices[kPiece];
    for (int32_t j = y0; j < y1; ++j) {
        const double dy = j + 0.5 - y;
        for (int32_t from = x0; from < x1; from += kPiece) {
            const int32_t n = std::min(kPiece, x1 - from);
            ProfileIndices(indices, n, from, x, dy, scale, r2);
            for (int32_t k = 0; k < n; ++k) {
                if (indices[k] < 0)
                    continue;
                const int64_t coverage = (profile[size_t(indices[k])] * fixedStrength) >> 32;
                if (coverage > 0)
                    write(image, from + k, j, uint8_t(std::min<int64_t>(coverage, 255)), colourAt(from + k, j));
            }
        }
    }
}

} // namespace pv
