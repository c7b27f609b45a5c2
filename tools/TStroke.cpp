// The pen's setters, defaults and derived values.
#include "tools/TStroke.h"

#include <algorithm>
#include <cmath>

namespace pv {

void TStroke::SetFloat(float &field, float v, float lo, float hi)
{
    if (!std::isfinite(v))
        return;
    v = std::clamp(v, lo, hi);
    if (v != field) {
        field = v;
        Changed();
    }
}

void TStroke::SetFlag(bool &field, bool v)
{
    if (v != field) {
        field = v;
        Changed();
    }
}

bool TStroke::SetKind(int kind)
{
    if (!IsValidPenKind(kind))
        return false;
    if (kind != kind_) {
        kind_ = static_cast<uint8_t>(kind);
        Changed();
    }
    return true;
}

void TStroke::SetColor(uint32_t c)
{
    if (c != color_) {
        color_ = c;
        Changed();
    }
}

void TStroke::SetSubColor(uint32_t c)
{
    if (c != subColor_) {
        subColor_ = c;
        Changed();
    }
}

void TStroke::SetMinSize(float v) { SetFloat(minSize_, v, 0, kMaxPercent); }
void TStroke::SetMaxRadius(float v) { SetFloat(maxRadius_, v, kMinRadius, kMaxRadius); }
void TStroke::SetGamma(float v) { SetFloat(gamma_, v, kMinGamma, kMaxGamma); }
void TStroke::SetEffect(float v) { SetFloat(effect_, v, 0, kMaxPercent); }
void TStroke::SetEnv(float v) { SetFloat(env_, v, 0, kMaxPercent); }
void TStroke::SetSpeed(float v) { SetFloat(speed_, v, 0, kMaxPercent); }
void TStroke::SetDensity(float v) { SetFloat(density_, v, kMinDensity, kMaxDensity); }
void TStroke::SetSpacing(float v) { SetFloat(spacing_, v, kMinSpacing, kMaxSpacing); }

namespace {

bool ChangeFlag(bool &field, bool v, bool rebuild, const std::function<void()> &hook)
{
    if (v == field)
        return false;
    field = v;
    if (rebuild && hook)
        hook();
    return true;
}

} // namespace

bool TStroke::SetUseTone(bool v, bool rebuildPipeline)
{
    const bool changed = ChangeFlag(useTone_, v, rebuildPipeline, onPipelineChange);
    if (changed)
        Changed();
    return changed;
}

bool TStroke::SetUseGradation(bool v, bool rebuildPipeline)
{
    const bool changed = ChangeFlag(useGradation_, v, rebuildPipeline, onPipelineChange);
    if (changed)
        Changed();
    return changed;
}

bool TStroke::SetProtectAlpha(bool v, bool rebuildPipeline)
{
    return ChangeFlag(protectAlpha_, v, rebuildPipeline, onPipelineChange);
}

void TStroke::SetAirMap(int profile, bool forceRebuild)
{
    profile = std::clamp(profile, 0, kMaxAirMap);
    const bool changed = profile != airMap_;
    if (changed) {
        airMap_ = profile;
        Changed();
    }
    if ((changed || forceRebuild) && kind_ >= kPenAirbrush && onProfileChange)
        onProfileChange();
}

void TStroke::SetStrokeVersion(int version)
{
    strokeVersion_ = std::clamp(version, 0, 2);
}

void TStroke::ApplyDefaults(int kind)
{
    if (!SetKind(kind))
        return;
    SetMinSize(0);
    SetMaxRadius(kMinRadius);
    SetEffect(0);
    SetEnv(0);
    SetSpeed(0);
    SetSizeByPressure(false);
    SetOpacityByPressure(false);
    SetSmoothEdge(false);
    SetGamma(1);
    SetUseTone(false, true);
    SetUseGradation(false, true);
    SetDensity(1);
    SetSpacing(0.5f);

    const PenDefaults &d = PenKindOf(kind_).defaults;
    auto apply = [](const std::optional<float> &v, auto &&set) { if (v) set(*v); };
    apply(d.minSize, [&](float v) { SetMinSize(v); });
    apply(d.maxRadius, [&](float v) { SetMaxRadius(v); });
    apply(d.effect, [&](float v) { SetEffect(v); });
    apply(d.env, [&](float v) { SetEnv(v); });
    apply(d.speed, [&](float v) { SetSpeed(v); });
    apply(d.spacing, [&](float v) { SetSpacing(v); });
    apply(d.density, [&](float v) { SetDensity(v); });
    if (d.sizeByPressure)
        SetSizeByPressure(*d.sizeByPressure);
    if (d.opacityByPressure)
        SetOpacityByPressure(*d.opacityByPressure);
    if (d.smoothEdge)
        SetSmoothEdge(*d.smoothEdge);
    if (d.airMap)
        SetAirMap(*d.airMap, true);
}

uint8_t TStroke::EffectiveDensityByte(bool legacyEngine) const
{
    return legacyEngine ? 255 : static_cast<uint8_t>(density_ * 255.0f);
}

float TStroke::EffectiveInterval() const
{
    const float fixed = PenKindOf(kind_).fixedInterval;
    return std::max(kMinSpacing, fixed >= 0 ? fixed : spacing_);
}

float TStroke::RadiusForPressure(float p) const
{
    if (!capabilities().sizeByPressure || !sizeByPressure_)
        return maxRadius_;
    const float m = maxRadius_ * minSize_ / 100.0f;
    return m + p * (maxRadius_ - m);
}

} // namespace pv
