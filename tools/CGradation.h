// CGradation: the paper's gradation geometry and settings — start and end point, shape,
// mirror, wrap mode and repeat count — with the axis values derived from them, and the colour
// stops in use in their 24-byte form. The colour ramp's own arithmetic comes with the
// gradation tools.
#pragma once

#include <cstdint>
#include <vector>

namespace pv {

class CGradation {
public:
    static constexpr int kStopBytes = 24;

    CGradation();

    // Points in 16.16 fixed point.
    void SetGeometry(int32_t startX, int32_t startY, int32_t endX, int32_t endY);
    void SetGeometryPixels(float startX, float startY, float endX, float endY);
    // Refused (false, nothing changed) unless shape is 0..2, mirror and wrap 0..1 and the
    // repeat count positive.
    bool SetSettings(int shape, int mirror, int repeat, int wrap);

    int32_t startX16 = 0, startY16 = 0, endX16 = 0, endY16 = 0;
    float startX = 0, startY = 0, endX = 0, endY = 0;
    uint8_t shape = 0, mirror = 0, wrap = 0;
    int32_t repeat = 1;
    float inverseRepeat = 1;
    // Derived from the points: the axis, its squared length and angle, the two radii.
    float axisX = 0, axisY = 0, axisLengthSquared = 0, axisAngle = 0, radiusX = 0, radiusY = 0;
    std::vector<uint8_t> stops; // the ramp in use, kStopBytes per stop

private:
    void DeriveAxis();
};

} // namespace pv
