// Steps, drags and texts of the pen window's controls.
#include "tools/PenControls.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace pv {

const char kPenWindowCaption[] = "ペンウインドウ  ";

namespace {

bool IsSpacingKind(const TStroke &pen) { return pen.kind() >= kPenAirbrush; }
bool IsExposureKind(const TStroke &pen) { return pen.kind() == kPenDarken || pen.kind() == kPenLighten; }

std::string Format(const char *format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

const char *OnOff(bool on) { return on ? "ON" : "OFF"; }

} // namespace

void StepPenControl(TStroke &pen, PenControl control, int direction, bool held)
{
    const float d = direction < 0 ? -1.0f : 1.0f;
    switch (control) {
    case PenControl::MinSize: pen.StepMinSize(d * (held ? 0.2f : 0.1f)); break;
    case PenControl::MaxRadius: pen.StepMaxRadius(d * (pen.maxRadius() > 20 ? 1.0f : 0.1f)); break;
    case PenControl::Density: SetDensityPercent(pen, DensityPercent(pen) + int(d)); break;
    case PenControl::Gamma: break; // no step buttons
    case PenControl::Effect:
        if (IsSpacingKind(pen))
            pen.SetSpacing(pen.EffectiveInterval() + d * 0.02f);
        else
            pen.StepEffect(d);
        break;
    case PenControl::Env:
        if (IsExposureKind(pen))
            pen.StepEffect(d * (held ? 1.0f : 0.5f));
        else
            pen.StepEnv(d * (held ? 1.0f : 0.5f));
        break;
    case PenControl::Speed: pen.StepSpeed(d * (held ? 1.0f : 0.5f)); break;
    }
}

void DragPenControl(TStroke &pen, PenControl control, int px)
{
    px = std::max(px, 0);
    switch (control) {
    case PenControl::MinSize: pen.SetMinSize(px / 80.0f * 100.0f); break;
    case PenControl::MaxRadius:
        if (px == 0)
            pen.SetMaxRadius(TStroke::kMinRadius);
        else if (px < 40)
            pen.SetMaxRadius(px * 20.0f / 40.0f);
        else if (px < 80)
            pen.SetMaxRadius((px - 40) * 180.0f / 40.0f + 20.0f);
        else
            pen.SetMaxRadius(TStroke::kMaxRadius);
        break;
    case PenControl::Density: SetDensityPercent(pen, px); break;
    case PenControl::Gamma:
        pen.SetGamma(px < 22 ? px / 22.0f : std::min(px - 22, 22) / 22.0f * 5.0f + 1.0f);
        break;
    case PenControl::Effect:
        if (IsSpacingKind(pen))
            pen.SetSpacing(px * 0.02f);
        else
            pen.SetEffect(px * 2.0f);
        break;
    case PenControl::Env:
        if (IsExposureKind(pen))
            pen.SetEffect(px * 2.0f);
        else
            pen.SetEnv(px * 2.0f);
        break;
    case PenControl::Speed: pen.SetSpeed(px * 2.0f); break;
    }
}

int RadiusBarOffset(float radius)
{
    if (radius <= 20.0f)
        return int(radius * 40.0f / 20.0f);
    if (radius < 200.0f)
        return 40 + int((radius - 20.0f) * 40.0f / 180.0f);
    return 80;
}

int DensityPercent(const TStroke &pen)
{
    return int(pen.density() * 100.0f);
}

void SetDensityPercent(TStroke &pen, int percent)
{
    // The 0.002 keeps the truncated percentage shown from falling one below the value set.
    pen.SetDensity(std::clamp(percent, 0, 100) / 100.0f + 0.002f);
}

std::string PenWindowTitle(const TStroke &pen)
{
    return std::string(kPenWindowCaption) + std::string(PenKindOf(pen.kind()).displayName);
}

std::string PenReportText(const TStroke &pen, PenControl control)
{
    const char *c = kPenWindowCaption;
    switch (control) {
    case PenControl::MinSize: return Format("%s%s %3.1f[%%]", c, "最小ｻｲｽﾞ", pen.minSize());
    case PenControl::MaxRadius: return Format("%s%s %3.1f[pixel]", c, "最大半径", pen.maxRadius());
    case PenControl::Density: return Format("%s%s %3d%%", c, "濃度", DensityPercent(pen));
    case PenControl::Gamma: return Format("%s%s %2.2f", c, "筆圧補正", pen.gamma());
    case PenControl::Effect:
        if (IsSpacingKind(pen))
            return Format("%s %s %3.1f[%%]", c, "描画間隔", pen.EffectiveInterval() * 100.0f);
        if (pen.kind() == kPenBlur)
            return Format("%s %s %3.1f", c, "ぼかし強度", pen.effect());
        return Format("%s %s %3.1f[%%]", c, "効果", pen.effect());
    case PenControl::Env:
        if (IsExposureKind(pen))
            return Format("%s %s %3.1f", c, "露光量", pen.effect());
        return Format("%s %s %3.1f[%%]", c, "環境影響", pen.env());
    case PenControl::Speed: return Format("%s %s %3.1f[%%]", c, "浸透速度", pen.speed());
    }
    return {};
}

std::string PenReportText(const TStroke &, PenToggle toggle, bool on)
{
    static const char *const kLabels[] = {"ﾄｰﾝ", "ｸﾞﾗﾃﾞｰｼｮﾝ", "筆圧ｻｲｽﾞ", "筆圧透明度", "縁を滑らかに"};
    return Format("%s %s %s", kPenWindowCaption, kLabels[int(toggle)], OnOff(on));
}

std::string PenHintText(const TStroke &pen, PenControl control)
{
    switch (control) {
    case PenControl::MinSize: return Format("ﾍﾟﾝｻｲｽﾞの開始 = %3.1f%%", pen.minSize());
    case PenControl::MaxRadius: return Format("ﾍﾟﾝの最大半径 = %3.1f", pen.maxRadius());
    case PenControl::Density: return Format("ﾍﾟﾝの濃度 = %3d%%", int(std::lround(pen.density() * 100.0f)));
    case PenControl::Gamma: return Format("筆圧補正ｶﾞﾝﾏ = %2.2f|筆圧の強さを調整します", pen.gamma());
    case PenControl::Effect:
        if (IsSpacingKind(pen))
            return Format("ﾍﾟﾝ間隔 = %3.1f%%|ペン直径に対する描点の間隔", pen.EffectiveInterval() * 100.0f);
        if (pen.kind() == kPenBlur)
            return Format("ぼかし強度 = %3.1f|どれだけ強力にボカシをかけるか", pen.effect());
        return Format("ｷｬﾝﾊﾞｽ色の影響度 = %3.1f|最初に触れた色が、どれだけ描画色に影響するか", pen.effect());
    case PenControl::Env:
        if (IsExposureKind(pen))
            return Format("露出量 = %3.1f|値が大きいほど効果が強くなります", pen.effect());
        return Format("周辺色の影響度 = %3.1f|描画周囲の色がどれだけ影響するか", pen.env());
    case PenControl::Speed:
        return Format("ﾍﾟﾝ色への変化長 = %3.1f|選択している色に変化するまでのｽﾄﾛｰｸ距離長", pen.speed());
    }
    return {};
}

std::string PenHintText(PenToggle toggle)
{
    static const char *const kHints[] = {
        "ﾄｰﾝ有効|スクリーントーン機能を有効にします",
        "ｸﾞﾗﾃﾞｰｼｮﾝ有効|グラデーション機能を有効にします",
        "筆圧ｻｲｽﾞ有効|筆圧によるサイズの変化",
        "筆圧透明度の有効|筆圧による透明度の変化",
        "ﾍﾟﾝ縁を滑らかにする|ペンの縁をなめらかにします",
    };
    return kHints[int(toggle)];
}

const char kPenSaveHint[] = "ﾍﾟﾝ設定を保存|現在のペン設定を保存します";

std::string PenPreviewHint(const TStroke &pen)
{
    const std::string name(PenKindOf(pen.kind()).displayName);
    return Format("%s\r%s = %3.1f", name.c_str(), "ﾍﾟﾝ半径", pen.maxRadius());
}

std::string PenSavedTitle()
{
    return Format("%s %s", kPenWindowCaption, "設定を保存しました");
}

int SlotHighlightOpacity(int elapsedMs)
{
    return std::clamp(255 - elapsedMs * 255 / 300, 0, 255);
}

} // namespace pv
