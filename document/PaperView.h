// PaperView: how a paper is shown in its window — zoom step, scroll position and rotation —
// and the transform between window and paper coordinates in both directions. The zoom table
// holds each step's factor and, for the steps from 1:1 up, the exact ratio used for integer
// copies.
#pragma once

#include "raster/ImageRect.h"

#include <cstdint>

namespace pv {

struct ZoomStep {
    float factor;
    int32_t numerator, denominator; // 0 / 0 below step 0
};

class PaperView {
public:
    static constexpr int kMinStep = -8, kMaxStep = 9;
    static const ZoomStep &Step(int step); // a step outside the table reads as 1:1

    int32_t windowOffsetX = 0, windowOffsetY = 0;
    int32_t originX = 0, originY = 0;
    bool smooth = false; // anti-aliased scaling and rotation, from the settings

    int ZoomStepIndex() const { return step_; }
    float ZoomFactor() const { return Step(step_).factor; }
    void SetZoomStep(int step);
    bool CanZoomIn() const { return step_ < kMaxStep; }
    bool CanZoomOut() const { return step_ >= kMinStep + 1; }
    bool ZoomIn();
    bool ZoomOut();

    bool Rotated() const { return angle_ != 0; }
    float Angle() const { return angle_; }
    float Degrees() const { return degrees_; }
    float CentreX() const { return centreX_; }
    float CentreY() const { return centreY_; }
    void SetRotationCentre(float x, float y);
    void SetRotationDegrees(float degrees);
    void SetRotationRadians(float radians);
    // dx, dy already divided by the zoom factor.
    void PanRotated(float dx, float dy);

    // The paper point at the window's centre.
    void ViewCentre(int32_t clientW, int32_t clientH, int32_t &x, int32_t &y) const;
    void WindowToPaper(int32_t clientW, int32_t clientH, float &x, float &y) const;
    void PaperToWindow(int32_t clientW, int32_t clientH, float &x, float &y) const;
    void PaperToWindowInt(int32_t clientW, int32_t clientH, int32_t &x, int32_t &y) const;

    // Whether the composite can be copied to the window by whole-pixel stretching.
    bool IntegerBlitPossible() const;
    // Whether the window needs the smooth resamplers.
    bool SmoothRenderingNeeded() const { return smooth && (Rotated() || !IntegerBlitPossible()); }

private:
    int step_ = 0;
    float angle_ = 0, degrees_ = 0, sin_ = 0, cos_ = 1;
    float centreX_ = 0, centreY_ = 0;
};

} // namespace pv
