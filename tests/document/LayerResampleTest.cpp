// Layer zoom, rotation, fitting, mask cuts and the whole-stack operations.
#include "document/LayerResample.h"
#include "selection/CMaskData.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

std::unique_ptr<CLayerData> Layer(int32_t w, int32_t h)
{
    auto layer = std::make_unique<CLayerData>(0, false);
    layer->CreateImage(w, h, 3);
    layer->name = "絵";
    return layer;
}

TEST(LayerResample, ZoomKeepsThePaperPlace)
{
    auto layer = Layer(40, 30);
    layer->Image()->SetEveryTile(0xFF0000FF);
    auto zoomed = ZoomLayer({40, 30}, *layer, 80, 60);
    ASSERT_TRUE(zoomed);
    EXPECT_EQ(80, zoomed->Image()->Width());
    EXPECT_EQ(0xFF0000FFu, zoomed->Image()->Pixel(79, 59));
    EXPECT_EQ("絵", zoomed->name);
}

TEST(LayerResample, QuarterTurnsCentreOnThePaper)
{
    auto layer = Layer(40, 30);
    layer->Image()->WritePixel(0, 0, 0xFF112233);
    auto turned = RotateLayer90({40, 30}, *layer, true);
    ASSERT_TRUE(turned);
    EXPECT_EQ(40, turned->Image()->Width());
    EXPECT_EQ(40, turned->Image()->Height());
    EXPECT_EQ(0, turned->offsetX);
    EXPECT_EQ(5, turned->offsetY);
    EXPECT_EQ(0xFF112233u, turned->Image()->Pixel(34, 0)) << "the top-left corner turns to the top right";
    auto back = RotateLayer90({40, 30}, *turned, false);
    ASSERT_TRUE(back);
    const SEdgeRect r = back->ImageRectOnPaper();
    EXPECT_EQ(0xFF112233u, back->Image()->Pixel(0 - r.left, 0 - r.top)) << "a turn and its inverse";
}

TEST(LayerResample, RotationByNoAngleKeepsThePixels)
{
    auto layer = Layer(20, 10);
    layer->Image()->WritePixel(3, 4, 0xFF00FF00);
    auto rotated = RotateLayer({20, 10}, *layer, 0.0);
    ASSERT_TRUE(rotated);
    const SEdgeRect r = rotated->ImageRectOnPaper();
    EXPECT_EQ(0xFF00FF00u, rotated->Image()->Pixel(3 - r.left, 4 - r.top));
    EXPECT_EQ(layer->Image()->Pixel(5, 5), rotated->Image()->Pixel(5 - r.left, 5 - r.top));
    auto tilted = RotateLayer({20, 10}, *layer, 30.0);
    ASSERT_TRUE(tilted);
    EXPECT_GT(tilted->Image()->Height(), 10) << "the image grows to hold the turned layer";
}

TEST(LayerResample, FittingToContent)
{
    auto layer = Layer(64, 64);
    EXPECT_FALSE(FitLayerToContent({64, 64}, *layer)) << "already the paper's tiles: kept";
    auto big = Layer(200, 200);
    big->paperWidth = 64;
    big->paperHeight = 64;
    auto fitted = FitLayerToContent({64, 64}, *big);
    ASSERT_TRUE(fitted) << "a transparent surround is cut away";
    EXPECT_EQ(64, fitted->Image()->Width());
}

TEST(LayerResample, CuttingAndKeepingByMask)
{
    struct Case {
        int formula;
        uint8_t alpha, mask, result;
    } cases[] = {{0, 255, 255, 0}, {0, 200, 0, 200}, {0, 255, 100, 155}, {0, 128, 100, 96}, {1, 128, 100, 77}};
    for (const Case &c : cases) {
        auto layer = Layer(4, 4);
        layer->Image()->SetAlpha({0, 0, 4, 4}, c.alpha);
        CMaskData mask(0, 4, 4);
        mask.Image()->FillRect({0, 0, 4, 4}, c.mask);
        ASSERT_TRUE(CutByMask(*layer, mask, c.formula));
        EXPECT_EQ(c.result, layer->Image()->Pixel(1, 1) >> 24) << c.formula << " " << int(c.alpha) << " " << int(c.mask);
    }
    auto layer = Layer(4, 4);
    CMaskData mask(0, 2, 2);
    EXPECT_FALSE(CutByMask(*layer, mask, 2));
    layer->Image()->SetAlpha({0, 0, 4, 4}, 200);
    mask.Image()->FillRect({0, 0, 2, 2}, 128);
    ASSERT_TRUE(KeepByMask(*layer, mask));
    EXPECT_EQ(100u, layer->Image()->Pixel(1, 1) >> 24) << "T[128][200]";
    EXPECT_EQ(0u, layer->Image()->Pixel(3, 3) >> 24) << "outside the mask";
}

TEST(LayerResample, WholeStacks)
{
    CLayerMngr layers;
    layers.SetPaperSize(40, 30);
    layers.AppendLayer(40, 30, 3, false, 200, true);
    layers.At(0)->name = "下";
    layers.At(0)->Image()->SetEveryTile(0xFF808080);
    EXPECT_FALSE(MakeZoomedLayers(layers, {80, 60}, 3, 2)) << "kind 3";
    EXPECT_FALSE(MakeZoomedLayers(layers, {80, 60}, 1, 0)) << "a method that would zoom nothing";
    for (int method : {1, 2}) {
        auto zoomed = MakeZoomedLayers(layers, {80, 60}, 1, method);
        ASSERT_TRUE(zoomed);
        EXPECT_EQ(80, zoomed->At(0)->Image()->Width());
        EXPECT_EQ(0xFF808080u, zoomed->At(0)->Image()->Pixel(70, 50));
        EXPECT_EQ(200, zoomed->At(0)->opacity);
        EXPECT_EQ("下", zoomed->At(0)->name);
    }
    auto moved = MakeResizedLayersWithOffset(layers, {10, 5}, {60, 40}, true);
    ASSERT_TRUE(moved);
    const CLayerData &m = *moved->At(0);
    EXPECT_EQ(0xFF808080u, m.Image()->Pixel(m.offsetX + 10, m.offsetY + 5)) << "old (0, 0) lands at new paper (10, 5)";
    EXPECT_EQ(0u, m.Image()->Pixel(m.offsetX, m.offsetY) >> 24);
    const SEdgeRect r = m.ImageRectOnPaper();
    EXPECT_LE(r.left, 0);
    EXPECT_GE(r.right, 60);
    auto cropped = MakeResizedLayers(layers, {10, 10, 20, 20}, {20, 20});
    ASSERT_TRUE(cropped);
    EXPECT_EQ(20, cropped->At(0)->Image()->Width());
    EXPECT_EQ(0xFF808080u, cropped->At(0)->Image()->Pixel(0, 0));
}

} // namespace
} // namespace pv
