// The paper's gradation geometry.
#include "tools/CGradation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pv {

CGradation::CGradation() { DeriveAxis(); }

void CGradation::SetGeometry(int32_t sx, int32_t sy, int32_t ex, int32_t ey)
{
    startX16 = sx;
    startY16 = sy;
    endX16 = ex;
    endY16 = ey;
    startX = float(sx) / 65536;
    startY = float(sy) / 65536;
    endX = float(ex) / 65536;
    endY = float(ey) / 65536;
    DeriveAxis();
}

void CGradation::SetGeometryPixels(float sx, float sy, float ex, float ey)
{
    const auto fixed = [](float v) { return int32_t(std::clamp(double(v) * 65536.0, -2147483648.0, 2147483647.0)); };
    SetGeometry(fixed(sx), fixed(sy), fixed(ex), fixed(ey));
}

bool CGradation::SetSettings(int newShape, int newMirror, int newRepeat, int newWrap)
{
    if (newShape < 0 || newShape > 2 || newMirror < 0 || newMirror > 1 || newWrap < 0 || newWrap > 1 || newRepeat <= 0)
        return false;
    shape = uint8_t(newShape);
    mirror = uint8_t(newMirror);
    wrap = uint8_t(newWrap);
    repeat = newRepeat;
    inverseRepeat = 1.0f / float(newRepeat);
    DeriveAxis();
    return true;
}

void CGradation::DeriveAxis()
{
    axisX = endX - startX;
    axisY = endY - startY;
    axisLengthSquared = axisX * axisX + axisY * axisY;
    axisAngle = float(std::atan2(axisY, axisX) / (2 * std::numbers::pi));
    if (shape == 2) {
        // The circular shape's radii are the axis components, a zero one replaced by the other.
        radiusX = axisX != 0 ? axisX : axisY;
        radiusY = axisY != 0 ? axisY : axisX;
    } else {
        radiusX = radiusY = std::max(std::fabs(axisX), std::fabs(axisY));
    }
}

} // namespace pv
