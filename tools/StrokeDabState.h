// What the dabs of one stroke carry from dab to dab: the neutral colour of the target layer,
// the watercolour's colours, the finger tip's two copies of the canvas, the exposure curve of
// the darken and lighten pens.
#pragma once

#include "raster/TMTC.h"
#include "tools/DabProfiles.h"

#include <array>
#include <cstdint>

namespace pv {

// A square copy of the canvas around a tip position: (2R + 1)^2 pixels from (originX,
// originY), taken for the float centre, R = ceiling(radius) + 3.
struct CPenTC {
    TMTC image;
    int32_t originX = 0, originY = 0;
    int32_t R = 0;
    float centreX = 0, centreY = 0;
    float fractionX = 0, fractionY = 0;
};

struct StrokeDabState {
    bool protectAlpha = false;
    uint32_t neutralColour = 0xFFFFFF;
    uint32_t startColour = 0;
    uint32_t workingColour = 0;
    std::array<float, 3> surrounding{}; // red, green, blue followed with limited speed
    std::array<CPenTC, 2> tips;
    int32_t tipX = 0, tipY = 0;
    int32_t tipCount = 0;
    ProfileTable exposure{};
};

} // namespace pv
