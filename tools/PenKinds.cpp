// The pen kind table.
#include "tools/PenKinds.h"

namespace pv {
namespace {

constexpr float kNone = -1.0f;

//                              minSz  size   opac   edge   effect env    speed  tone   grad
constexpr PenCapabilities kPen{true, true, true, false, false, false, false, true, true};
constexpr PenCapabilities kWc{true, true, true, true, true, true, true, true, true};
constexpr PenCapabilities kBlur{true, true, false, false, true, false, false, true, false};
constexpr PenCapabilities kEraser{true, true, true, true, false, false, false, false, false};
constexpr PenCapabilities kBlur2{false, false, false, false, false, false, false, false, false};
constexpr PenCapabilities kAir{true, true, true, false, true, false, false, true, true};
constexpr PenCapabilities kRub{true, true, true, false, true, false, false, true, false};
constexpr PenCapabilities kExposure{true, true, true, false, true, true, false, true, false};

// constexpr: the table is ready before any dynamic initialiser of another file reads it.
constexpr PenKindInfo kKinds[kPenKindCount] = {
    {"pen", "鉛筆", true, 1.0f / 6, true, kPen,
     {.minSize = 75, .maxRadius = 1, .sizeByPressure = true, .opacityByPressure = true}},
    {"wc", "透明水彩", true, 1.0f / 12, false, kWc,
     {.minSize = 33.3f, .maxRadius = 16, .effect = 65, .env = 40, .speed = 30,
      .sizeByPressure = true, .opacityByPressure = true, .smoothEdge = false}},
    {"blur", "ぼかし", true, 0.25f, false, kBlur, {.minSize = 100, .maxRadius = 12, .effect = 10}},
    {"eraser", "消しｺﾞﾑ", true, 0.25f, false, kEraser,
     {.minSize = 100, .maxRadius = 12, .opacityByPressure = true, .smoothEdge = true}},
    {"blur2", "ぼかし2", false, 0.25f, true, kBlur2, {}},
    {"airbrush", "ｴｱｰﾌﾞﾗｼ", true, kNone, false, kAir,
     {.minSize = 60, .maxRadius = 30, .spacing = 0.15f, .density = 0.1f,
      .sizeByPressure = true, .opacityByPressure = true, .airMap = 3}},
    {"rubpen", "指先", true, kNone, false, kRub,
     {.minSize = 60, .maxRadius = 15, .spacing = 0.04f, .density = 0.6f, .opacityByPressure = true, .airMap = 3}},
    {"darken", "焼き込み", true, kNone, false, kExposure,
     {.minSize = 60, .maxRadius = 25, .effect = 50, .spacing = 0.15f, .density = 0.2f,
      .sizeByPressure = true, .opacityByPressure = true, .airMap = 1}},
    {"lighten", "覆い焼き", true, kNone, false, kExposure,
     {.minSize = 60, .maxRadius = 25, .effect = 50, .spacing = 0.15f, .density = 0.2f,
      .sizeByPressure = true, .opacityByPressure = true, .airMap = 1}},
};

} // namespace

const PenKindInfo &PenKindOf(uint8_t kind)
{
    return kKinds[kind < kPenKindCount ? kind : 0];
}

bool IsValidPenKind(int kind)
{
    return kind >= 0 && kind < kPenKindCount;
}

} // namespace pv
