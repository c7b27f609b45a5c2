// The pen window's mappings and texts, computed without a window.
#include "tools/PenControls.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

TEST(PenControls, RadiusBarMapsPixelsToRadiiAndBack)
{
    struct Case {
        int px;
        float radius;
    } cases[] = {{0, 0.1f}, {1, 0.5f}, {20, 10}, {39, 19.5f}, {40, 20}, {60, 110}, {79, 195.5f}, {80, 200}, {300, 200}};
    for (const Case &c : cases) {
        TStroke pen;
        DragPenControl(pen, PenControl::MaxRadius, c.px);
        EXPECT_FLOAT_EQ(c.radius, pen.maxRadius()) << c.px;
        if (c.px > 0 && c.px <= 80) {
            EXPECT_EQ(c.px, RadiusBarOffset(c.radius)) << c.px;
        }
    }
}

TEST(PenControls, StepsAndDrags)
{
    TStroke pen;
    pen.SetMaxRadius(20);
    StepPenControl(pen, PenControl::MaxRadius, +1, false);
    EXPECT_FLOAT_EQ(20.1f, pen.maxRadius());
    StepPenControl(pen, PenControl::MaxRadius, +1, false);
    EXPECT_FLOAT_EQ(21.1f, pen.maxRadius()) << "steps of 1 above a radius of 20";

    SetDensityPercent(pen, 0);
    EXPECT_FLOAT_EQ(0.01f, pen.density());
    SetDensityPercent(pen, 100);
    EXPECT_FLOAT_EQ(1.0f, pen.density());
    SetDensityPercent(pen, 57);
    EXPECT_EQ(57, DensityPercent(pen));
    StepPenControl(pen, PenControl::Density, -1, false);
    EXPECT_EQ(56, DensityPercent(pen));

    DragPenControl(pen, PenControl::Gamma, 11);
    EXPECT_FLOAT_EQ(0.5f, pen.gamma());
    DragPenControl(pen, PenControl::Gamma, 0);
    EXPECT_FLOAT_EQ(0.01f, pen.gamma()) << "never 0";
    DragPenControl(pen, PenControl::Gamma, 33);
    EXPECT_FLOAT_EQ(3.5f, pen.gamma());

    pen.ApplyDefaults(kPenAirbrush);
    StepPenControl(pen, PenControl::Effect, +1, false);
    EXPECT_FLOAT_EQ(0.17f, pen.spacing()) << "the effect control steps the interval for kinds 5..8";
    pen.ApplyDefaults(kPenDarken);
    StepPenControl(pen, PenControl::Env, -1, false);
    EXPECT_FLOAT_EQ(49.5f, pen.effect()) << "the env control sets the exposure for kinds 7 and 8";
    pen.ApplyDefaults(kPenWatercolour);
    StepPenControl(pen, PenControl::Speed, +1, true);
    EXPECT_FLOAT_EQ(31, pen.speed());
    StepPenControl(pen, PenControl::MinSize, -1, true);
    EXPECT_FLOAT_EQ(33.1f, pen.minSize());
}

TEST(PenControls, Texts)
{
    TStroke pen;
    pen.ApplyDefaults(kPenBlur);
    EXPECT_EQ("ペンウインドウ  ぼかし", PenWindowTitle(pen));
    EXPECT_EQ("ペンウインドウ  最大半径 12.0[pixel]", PenReportText(pen, PenControl::MaxRadius));
    EXPECT_EQ("ペンウインドウ   ぼかし強度 10.0", PenReportText(pen, PenControl::Effect));
    EXPECT_EQ("ペンウインドウ  濃度 100%", PenReportText(pen, PenControl::Density));
    EXPECT_EQ("ペンウインドウ   ﾄｰﾝ ON", PenReportText(pen, PenToggle::Tone, true));
    pen.ApplyDefaults(kPenAirbrush);
    EXPECT_EQ("ペンウインドウ   描画間隔 15.0[%]", PenReportText(pen, PenControl::Effect));
    EXPECT_EQ("ﾍﾟﾝ間隔 = 15.0%|ペン直径に対する描点の間隔", PenHintText(pen, PenControl::Effect));
    EXPECT_EQ("ﾍﾟﾝの濃度 =  10%", PenHintText(pen, PenControl::Density));
    EXPECT_EQ("ｴｱｰﾌﾞﾗｼ\rﾍﾟﾝ半径 = 30.0", PenPreviewHint(pen));
    EXPECT_EQ(255, SlotHighlightOpacity(0));
    EXPECT_EQ(128, SlotHighlightOpacity(150));
    EXPECT_EQ(0, SlotHighlightOpacity(400));
}

} // namespace
} // namespace pv
