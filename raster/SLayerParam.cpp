// The mode table itself.
#include "raster/SLayerParam.h"

#include <array>

namespace pv {

namespace {

// One row: the compose routine is always the mode's paint routine behind the opacity.
#define PV_MODE(code, name, fill, base, flags, paint, merge, position, separator, kernel)                 \
    SLayerParam{code, name, fill, base, flags, Compose<paint>, paint, merge, ComposeRowOf<paint, kernel>, \
                ComposeRectOf<paint, kernel>, position, separator}

using namespace kernels;

const std::array<SLayerParam, kLayerModeCount> kModes = {{
    PV_MODE(0, "乗算", 0xFFFFFF, 0xFFFFFF, 0x20, PaintMultiply, MultiplyMerge, 1, true, ComposeMultiplyAvx2),
    PV_MODE(1, "加算", 0x000000, 0x000000, 0x20, PaintAdd, AdditiveMerge, 2, false, ComposeAddAvx2),
    PV_MODE(2, "減算", 0x000000, 0xFFFFFF, 0x21, PaintSubtract, AdditiveMerge, 3, false, ComposeSubtractAvx2),
    PV_MODE(3, "標準", 0xFFFFFF, 0x000000, 0x00, PaintNormal, NormalMerge, 0, false, ComposeNormalAvx2),
    PV_MODE(4, "スクリーン", 0x000000, 0x000000, 0x22, PaintSeparable<BlendScreen>, ScreenMerge, 5, true, ComposeScreenAvx2),
    PV_MODE(5, "オーバーレイ", 0x7F7F7F, 0x7F7F7F, 0x26, PaintSeparable<BlendOverlay>, GenericModeMerge<5>, 6, false, ComposeOverlayAvx2),
    PV_MODE(6, "ハードライト", 0x7F7F7F, 0x7F7F7F, 0x26, PaintSeparable<BlendHardLight>, GenericModeMerge<6>, 7, true, ComposeHardLightAvx2),
    PV_MODE(7, "ソフトライト", 0x7F7F7F, 0x7F7F7F, 0x26, PaintSeparable<BlendSoftLight>, GenericModeMerge<7>, 8, false, NoKernel),
    PV_MODE(8, "差の絶対値", 0x000000, 0x000000, 0x22, PaintSeparable<BlendDifference>, DifferenceMerge, 12, true, ComposeDifferenceAvx2),
    PV_MODE(9, "除外", 0x000000, 0x000000, 0x22, PaintSeparable<BlendExclusion>, GenericModeMerge<9>, 13, false, ComposeExclusionAvx2),
    PV_MODE(10, "比較(暗)", 0xFFFFFF, 0xFFFFFF, 0x22, PaintSeparable<BlendDarken>, DarkenMerge, 14, false, ComposeDarkenAvx2),
    PV_MODE(11, "比較(明)", 0x000000, 0x000000, 0x22, PaintSeparable<BlendLighten>, LightenMerge, 15, false, ComposeLightenAvx2),
    PV_MODE(12, "焼き込み", 0xFFFFFF, 0xFFFFFF, 0x22, PaintSeparable<BlendBurn>, GenericModeMerge<12>, 16, true, NoKernel),
    PV_MODE(13, "覆い焼き", 0x000000, 0x000000, 0x22, PaintSeparable<BlendDodge>, GenericModeMerge<13>, 17, false, NoKernel),
    PV_MODE(14, "色相", 0x000000, 0xFFFFFF, 0x1A, PaintWhole<BlendHue>, GenericModeMerge<14>, 18, true, ComposeHueAvx2),
    PV_MODE(15, "彩度", 0x000000, 0xFFFFFF, 0x1A, PaintWhole<BlendSaturation>, GenericModeMerge<15>, 19, false, ComposeSaturationAvx2),
    PV_MODE(16, "カラー", 0x000000, 0xFFFFFF, 0x1A, PaintWhole<BlendColour>, GenericModeMerge<16>, 20, false, ComposeColourAvx2),
    PV_MODE(17, "輝度", 0x000000, 0xFFFFFF, 0x1A, PaintWhole<BlendLuminosity>, GenericModeMerge<17>, 21, false, ComposeLuminosityAvx2),
    PV_MODE(18, "減算(ネガ)", 0xFFFFFF, 0xFFFFFF, 0x20, PaintNegativeSubtract, GenericModeMerge<18>, 4, false, ComposeNegativeSubtractAvx2),
    PV_MODE(19, "リニアライト", 0x7F7F7F, 0x7F7F7F, 0x26, PaintSeparable<BlendLinearLight>, GenericModeMerge<19>, 9, false, ComposeLinearLightAvx2),
    PV_MODE(20, "ビビッドライト", 0xFFFFFF, 0xFFFFFF, 0x02, PaintSeparable<BlendVividLight>, GenericModeMerge<20>, 10, false, NoKernel),
    PV_MODE(21, "ピンライト", 0x7F7F7F, 0x7F7F7F, 0x26, PaintSeparable<BlendPinLight>, GenericModeMerge<21>, 11, false, ComposePinLightAvx2),
}};

#undef PV_MODE

} // namespace

const SLayerParam &LayerParam(int code)
{
    return kModes[code >= 0 && code < kLayerModeCount ? code : kNormalMode];
}

const SLayerParam *LayerParamOfCompose(ComposeRoutine compose)
{
    for (const SLayerParam &row : kModes)
        if (row.compose == compose)
            return &row;
    return nullptr;
}

int ModeAtPosition(int position)
{
    for (const SLayerParam &row : kModes)
        if (row.displayPosition == position)
            return row.code;
    return kNormalMode;
}

int PositionOfMode(int code)
{
    return code >= 0 && code < kLayerModeCount ? kModes[code].displayPosition : 0;
}

} // namespace pv
