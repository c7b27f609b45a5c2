// TStroke: the parameters of a pen — kind, colours, radius, pressure response, density,
// interval, profile — with the ranges every setter enforces whatever the value's source (the
// pen window, the settings file or a recorded event). Values that are not finite are refused.
// `modified` is set by every setter whose value actually changes; the event recorder reads
// and clears it. The run-time state of a stroke being drawn lives with the stroke engine.
#pragma once

#include "tools/PenKinds.h"

#include <cstdint>
#include <functional>

namespace pv {

class TStroke {
public:
    static constexpr float kMinRadius = 0.1f, kMaxRadius = 200.0f;
    static constexpr float kMinGamma = 0.01f, kMaxGamma = 6.0f;
    static constexpr float kMinDensity = 0.01f, kMaxDensity = 1.0f;
    static constexpr float kMinSpacing = 0.02f, kMaxSpacing = 2.0f;
    static constexpr float kMaxPercent = 100.0f; // minSize, effect, env, speed
    static constexpr int kMaxAirMap = 4;

    // Called when a change needs the pixel pipeline or the density profile rebuilt; whoever
    // owns those sets them.
    std::function<void()> onPipelineChange;
    std::function<void()> onProfileChange;

    uint8_t kind() const { return kind_; }
    uint32_t color() const { return color_; }
    uint32_t subColor() const { return subColor_; }
    int layerIndex() const { return layerIndex_; }
    float minSize() const { return minSize_; }
    float maxRadius() const { return maxRadius_; }
    float gamma() const { return gamma_; }
    float effect() const { return effect_; }
    float env() const { return env_; }
    float speed() const { return speed_; }
    bool sizeByPressure() const { return sizeByPressure_; }
    bool opacityByPressure() const { return opacityByPressure_; }
    bool smoothEdge() const { return smoothEdge_; }
    bool useTone() const { return useTone_; }
    bool useGradation() const { return useGradation_; }
    float density() const { return density_; }
    float spacing() const { return spacing_; }
    int airMap() const { return airMap_; }
    int strokeVersion() const { return strokeVersion_; }
    bool protectAlpha() const { return protectAlpha_; }
    bool noSmoothing() const { return noSmoothing_; }
    bool modified() const { return modified_; }
    void ClearModified() { modified_ = false; }

    bool SetKind(int kind); // refuses kinds outside 0..8
    void SetColor(uint32_t c);
    void SetSubColor(uint32_t c);
    void SetLayerIndex(int index) { layerIndex_ = index; }
    void SetMinSize(float v);
    void SetMaxRadius(float v);
    void SetGamma(float v);
    void SetEffect(float v);
    void SetEnv(float v);
    void SetSpeed(float v);
    void SetDensity(float v);
    void SetSpacing(float v);
    void StepMinSize(float delta) { SetMinSize(minSize_ + delta); }
    void StepMaxRadius(float delta) { SetMaxRadius(maxRadius_ + delta); }
    void StepGamma(float delta) { SetGamma(gamma_ + delta); }
    void StepEffect(float delta) { SetEffect(effect_ + delta); }
    void StepEnv(float delta) { SetEnv(env_ + delta); }
    void StepSpeed(float delta) { SetSpeed(speed_ + delta); }
    void StepDensity(float delta) { SetDensity(density_ + delta); }
    void SetSizeByPressure(bool v) { SetFlag(sizeByPressure_, v); }
    void SetOpacityByPressure(bool v) { SetFlag(opacityByPressure_, v); }
    void SetSmoothEdge(bool v) { SetFlag(smoothEdge_, v); }
    // These return whether the value changed; a change rebuilds the pipeline when asked to.
    bool SetUseTone(bool v, bool rebuildPipeline);
    bool SetUseGradation(bool v, bool rebuildPipeline);
    bool SetProtectAlpha(bool v, bool rebuildPipeline);
    void SetAirMap(int profile, bool forceRebuild); // kept to 0..4
    void SetStrokeVersion(int version);             // kept to 0..2
    void SetNoSmoothing(bool v) { noSmoothing_ = v; }

    // The common defaults, then those of the kind; the kind itself is set too.
    void ApplyDefaults(int kind);

    PenCapabilities capabilities() const { return PenKindOf(kind_).capabilities; }
    // `density`, or 1.0 while the legacy dab engine draws.
    float EffectiveDensity(bool legacyEngine) const { return legacyEngine ? 1.0f : density_; }
    uint8_t EffectiveDensityByte(bool legacyEngine) const;
    // The kind's fixed interval where it has one, else `spacing`; at least 0.02.
    float EffectiveInterval() const;
    // The radius for a gamma-corrected pressure p in 0..1.
    float RadiusForPressure(float p) const;

private:
    void SetFloat(float &field, float v, float lo, float hi);
    void SetFlag(bool &field, bool v);
    void Changed() { modified_ = true; }

    uint8_t kind_ = kPenPencil;
    uint32_t color_ = 0;
    uint32_t subColor_ = 0xFFFFFF;
    int layerIndex_ = 0;
    float minSize_ = 0, maxRadius_ = kMinRadius, gamma_ = 1;
    float effect_ = 0, env_ = 0, speed_ = 0;
    bool sizeByPressure_ = false, opacityByPressure_ = false, smoothEdge_ = false;
    bool useTone_ = false, useGradation_ = false;
    float density_ = 1, spacing_ = 0.5f;
    int airMap_ = 0;
    int strokeVersion_ = 0;
    bool protectAlpha_ = false, noSmoothing_ = false;
    bool modified_ = false;
};

} // namespace pv
