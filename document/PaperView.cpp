// The view state and its transform.
#include "document/PaperView.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pv {
namespace {

constexpr ZoomStep kZoomSteps[PaperView::kMaxStep - PaperView::kMinStep + 1] = {
    {0.06001f, 0, 0}, {0.1f, 0, 0},  {0.15f, 0, 0}, {0.25f, 0, 0}, {0.333f, 0, 0}, {0.5f, 0, 0},
    {0.666f, 0, 0},   {0.75f, 0, 0}, {1.0f, 1, 1},  {1.25f, 5, 4}, {1.5f, 3, 2},   {1.75f, 7, 4},
    {2.0f, 2, 1},     {2.5f, 5, 2},  {3.0f, 3, 1},  {4.0f, 4, 1},  {6.0f, 6, 1},   {8.0f, 8, 1},
};

} // namespace

const ZoomStep &PaperView::Step(int step)
{
    if (step < kMinStep || step > kMaxStep)
        step = 0;
    return kZoomSteps[step - kMinStep];
}

void PaperView::SetZoomStep(int step) { step_ = std::clamp(step, int(kMinStep), int(kMaxStep)); }

bool PaperView::ZoomIn()
{
    if (!CanZoomIn())
        return false;
    ++step_;
    return true;
}

bool PaperView::ZoomOut()
{
    if (!CanZoomOut())
        return false;
    --step_;
    return true;
}

void PaperView::SetRotationCentre(float x, float y)
{
    centreX_ = x;
    centreY_ = y;
}

void PaperView::SetRotationDegrees(float degrees)
{
    degrees_ = degrees;
    angle_ = float(double(degrees) * std::numbers::pi / 180.0);
    sin_ = std::sin(angle_);
    cos_ = std::cos(angle_);
}

void PaperView::SetRotationRadians(float radians)
{
    angle_ = radians;
    degrees_ = float(double(radians) * 180.0 / std::numbers::pi);
    sin_ = std::sin(angle_);
    cos_ = std::cos(angle_);
}

void PaperView::PanRotated(float dx, float dy)
{
    centreX_ -= dx * cos_ - dy * sin_;
    centreY_ -= dx * sin_ + dy * cos_;
}

void PaperView::ViewCentre(int32_t clientW, int32_t clientH, int32_t &x, int32_t &y) const
{
    if (Rotated()) {
        x = int32_t(centreX_);
        y = int32_t(centreY_);
        return;
    }
    const float z = ZoomFactor();
    const auto axis = [z](int32_t client, int32_t offset, int32_t origin) {
        const float half = float(client / 2);
        return offset <= 0 ? int32_t(half / z + float(origin)) : int32_t(half / z - float(offset) / z);
    };
    x = axis(clientW, windowOffsetX, originX);
    y = axis(clientH, windowOffsetY, originY);
}

void PaperView::WindowToPaper(int32_t clientW, int32_t clientH, float &x, float &y) const
{
    const float z = ZoomFactor();
    if (!Rotated()) {
        x = (x - float(windowOffsetX)) / z + float(originX);
        y = (y - float(windowOffsetY)) / z + float(originY);
        return;
    }
    const float u = (x - float(clientW / 2)) / z, v = (y - float(clientH / 2)) / z;
    x = centreX_ + u * cos_ - v * sin_;
    y = centreY_ + u * sin_ + v * cos_;
}

void PaperView::PaperToWindow(int32_t clientW, int32_t clientH, float &x, float &y) const
{
    const float z = ZoomFactor();
    if (!Rotated()) {
        x = z * (x - float(originX)) + float(windowOffsetX);
        y = z * (y - float(originY)) + float(windowOffsetY);
        return;
    }
    const float dx = x - centreX_, dy = y - centreY_;
    x = z * (dx * cos_ + dy * sin_) + float(clientW / 2);
    y = z * (-dx * sin_ + dy * cos_) + float(clientH / 2);
}

void PaperView::PaperToWindowInt(int32_t clientW, int32_t clientH, int32_t &x, int32_t &y) const
{
    float fx = float(x), fy = float(y);
    PaperToWindow(clientW, clientH, fx, fy);
    x = int32_t(fx + 0.01f);
    y = int32_t(fy + 0.01f);
}

bool PaperView::IntegerBlitPossible() const
{
    if (step_ < 0)
        return false;
    if (!smooth || step_ == 0)
        return true;
    const ZoomStep &s = Step(step_);
    return s.denominator == 1; // 2, 3, 4, 6 and 8 times
}

} // namespace pv
