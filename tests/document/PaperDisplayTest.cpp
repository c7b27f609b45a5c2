// What the paper shows: the zoom table and title, the view transform, the grid, recompose of
// parts against the whole, the live stroke, changed tiles, thumbnails and the view image.
#include "StackFixtures.h"
#include "UndoFixture.h"

#include "DotRenderer.h"
#include "document/TPaper.h"

#include <cmath>

#include <gtest/gtest.h>

namespace pv::test {
namespace {

class CountingHost : public HeadlessPaperHost {
public:
    void InvalidateRect(const SEdgeRect &rect) override { invalidated.push_back(rect); }
    std::vector<SEdgeRect> invalidated;
};

struct ShownPaper {
    explicit ShownPaper(int32_t w = 100, int32_t h = 80) : paper(TPaper::CreatePaper(host, 8, pen))
    {
        EXPECT_TRUE(paper->InitPaper("絵", image, 0, w, h, w, h));
    }
    CountingHost host;
    TStroke pen;
    TFlowImage image;
    std::unique_ptr<TPaper> paper;
};

std::vector<uint32_t> CompositePixels(const TPaper &paper, SExtent r)
{
    std::vector<uint32_t> p;
    for (int32_t y = r.y; y < r.y + r.height; ++y)
        for (int32_t x = r.x; x < r.x + r.width; ++x)
            p.push_back(paper.Composite().At(x, y));
    return p;
}

TEST(PaperView, ZoomStepsAndTitle)
{
    const struct {
        int step;
        float factor;
        const char *percent;
    } cases[] = {{-8, 0.06001f, "6%"}, {-4, 0.333f, "33%"}, {-3, 0.5f, "50%"}, {0, 1.0f, "100%"}, {2, 1.5f, "150%"},
                 {5, 2.5f, "250%"},   {9, 8.0f, "800%"}};
    ShownPaper p;
    for (const auto &c : cases) {
        p.paper->view.SetZoomStep(c.step);
        EXPECT_EQ(c.factor, p.paper->view.ZoomFactor()) << c.step;
        const std::string title = p.paper->Title();
        EXPECT_EQ(" \"絵\" w100 x h80 : " + std::string(c.percent), title);
    }
    p.paper->locked = true;
    EXPECT_EQ(0u, p.paper->Title().find("<LOCKED> \""));

    PaperView v;
    v.SetZoomStep(9);
    EXPECT_FALSE(v.ZoomIn());
    v.SetZoomStep(-8);
    EXPECT_FALSE(v.CanZoomOut());
    EXPECT_FALSE(v.ZoomOut());
    v.SetZoomStep(-7);
    EXPECT_TRUE(v.ZoomOut());
    v.SetZoomStep(42);
    EXPECT_EQ(9, v.ZoomStepIndex());
    EXPECT_EQ(1.0f, PaperView::Step(12).factor) << "outside the table reads as 1:1";
}

TEST(PaperView, TransformRoundTrips)
{
    PaperView v;
    v.windowOffsetX = 7;
    v.originY = 30;
    v.SetRotationCentre(120.5f, 80.25f);
    for (float degrees : {0.0f, 30.0f, 270.0f})
        for (int step = PaperView::kMinStep; step <= PaperView::kMaxStep; ++step) {
            v.SetZoomStep(step);
            v.SetRotationDegrees(degrees);
            for (auto [wx, wy] : {std::pair{0.0f, 0.0f}, {317.0f, 211.0f}, {639.0f, 479.0f}}) {
                float x = wx, y = wy;
                v.WindowToPaper(640, 480, x, y);
                v.PaperToWindow(640, 480, x, y);
                EXPECT_NEAR(wx, x, 0.01f) << step << " " << degrees;
                EXPECT_NEAR(wy, y, 0.01f) << step << " " << degrees;
            }
        }
    v.SetRotationDegrees(0);
    EXPECT_FALSE(v.Rotated());
}

TEST(PaperDisplay, GridOnWhite)
{
    ShownPaper p;
    p.paper->SetGrid(true, 25, true, 25);
    const TTC &c = p.paper->Composite();
    EXPECT_EQ(0xFFD0D0D0u, c.At(25, 10)) << "a line";
    EXPECT_EQ(0xFFD0D0D0u, c.At(10, 50));
    EXPECT_EQ(0xFFA9A9A9u, c.At(50, 25)) << "a crossing is darkened twice";
    EXPECT_EQ(0xFFFFFFFFu, c.At(24, 24));
    EXPECT_EQ(0xFFD0D0D0u, c.At(0, 13)) << "column 0 is a line";

    p.paper->SetGrid(false, 25, true, 25);
    p.paper->gridVisible = true;
    p.paper->Recompose({10, 10, 40, 30});
    EXPECT_EQ(0xFFD0D0D0u, c.At(25, 15)) << "column 25 inside the rectangle";
    EXPECT_EQ(0xFFA9A9A9u, c.At(25, 25));
    EXPECT_EQ(0xFFFFFFFFu, c.At(10, 15)) << "not the rectangle's own edges";
    EXPECT_EQ(0xFFFFFFFFu, c.At(39, 15));
    EXPECT_EQ(0xFFFFFFFFu, c.At(50, 15)) << "nothing outside it";
}

TEST(PaperDisplay, PartsRecomposeLikeTheWhole)
{
    ShownPaper p;
    TPaper &paper = *p.paper;
    CLayerMngr &layers = paper.Layers();
    for (int i = 0; i < 3; ++i)
        layers.AddLayer(layers.Count(), 100, 80, i == 1 ? 4 : kNormalMode, false, uint8_t(i == 2 ? 128 : 255), true);
    for (int32_t i = 0; i < layers.Count(); ++i)
        for (int32_t y = 0; y < 80; y += 3)
            for (int32_t x = 0; x < 100; x += 2)
                layers.At(i)->Image()->WritePixel(x, y, (uint32_t(x * 37 + y * 11 + i * 101) * 2654435761u) | 0x40000000);
    layers.At(3)->SetDither(true, 120, layers.At(3)->random);
    paper.SetPaperColour(0x204060, false);
    paper.RecomposeAll();
    const std::vector<uint32_t> whole = CompositePixels(paper, {0, 0, 100, 80});
    for (SEdgeRect part : {SEdgeRect{13, 7, 61, 45}, SEdgeRect{0, 0, 1, 1}, SEdgeRect{90, 70, 100, 80}}) {
        // Something else in the composite first, then only the part made again.
        layers.At(1)->visible = false;
        paper.RecomposeAll();
        layers.At(1)->visible = true;
        paper.Recompose(part);
        const SExtent r = ToExtent(part);
        std::vector<uint32_t> expected;
        for (int32_t y = r.y; y < r.y + r.height; ++y)
            for (int32_t x = r.x; x < r.x + r.width; ++x)
                expected.push_back(whole[size_t(y * 100 + x)]);
        EXPECT_EQ(expected, CompositePixels(paper, r));
    }
}

TEST(PaperDisplay, LiveStrokeIsShownAndStaysAfterTheEnd)
{
    ShownPaper p;
    TPaper &paper = *p.paper;
    paper.SetDabEngine(DabEngine::Current, DotRenderer);
    p.pen.SetColor(0x0000FF);
    p.pen.SetMaxRadius(1);
    StrokeTrack track;
    paper.BeginStroke(p.image, p.pen, track, 20, 20, 1, true);
    paper.AddStrokePoint(p.image, p.pen, track, 30, 20, 1, true);
    EXPECT_EQ(0u, paper.ActiveLayer()->Image()->Pixel(25, 20) >> 24) << "the layer does not have it yet";
    EXPECT_EQ(0xFF0000FFu, paper.Composite().At(25, 20)) << "but the composite shows it";
    const std::vector<uint32_t> during = CompositePixels(paper, {0, 0, 100, 80});
    // The layer's thumbnail follows the layer: it takes the stroke when the stroke ends.
    const TMTC &layerThumb = paper.ActiveLayer()->Thumbnail();
    ASSERT_TRUE(layerThumb.IsValid());
    const int32_t tx = 25 * layerThumb.Width() / 100, ty = 20 * layerThumb.Height() / 80;
    EXPECT_EQ(0u, layerThumb.At(tx, ty) >> 24);
    SExtent rect;
    paper.EndStroke(p.image, p.pen, track, rect, true);
    EXPECT_NE(0u, layerThumb.At(tx, ty) >> 24);
    paper.RecomposeAll();
    EXPECT_EQ(during, CompositePixels(paper, {0, 0, 100, 80}));
}

TEST(PaperDisplay, ChangedTilesOnlyAndThumbnailsInside)
{
    ShownPaper p(100, 80);
    TPaper &paper = *p.paper;
    CBlockVMTC &image = *paper.ActiveLayer()->Image();
    image.TakeChangedTiles();
    image.WritePixel(70, 40, 0xFF00FF00);
    p.host.invalidated.clear();
    paper.PaperThumbnail().Resize(10, 8);
    paper.ShowLayerTiles(0, nullptr, true);
    ASSERT_EQ(1u, p.host.invalidated.size());
    EXPECT_EQ(64, p.host.invalidated[0].left);
    EXPECT_EQ(96, p.host.invalidated[0].right);
    EXPECT_EQ(0xFF00FF00u, paper.Composite().At(70, 40));
    paper.ShowLayerTiles(0, nullptr, true);
    EXPECT_EQ(1u, p.host.invalidated.size()) << "nothing changed since";

    // A rectangle at the far corner maps inside the thumbnails.
    image.MaskedFill({90, 70, 10, 10}, 0xFFFFFFFF, 0xFF00FF00);
    paper.Recompose({90, 70, 100, 80});
    paper.UpdateThumbnails(false, 0, {90, 70, 100, 80});
    EXPECT_EQ(0x00FF00u, paper.PaperThumbnail().At(9, 7) & 0xFFFFFF);
    const TMTC &layerThumb = paper.ActiveLayer()->Thumbnail();
    EXPECT_EQ(0xFF00FF00u, layerThumb.At(layerThumb.Width() - 1, layerThumb.Height() - 1));
}

TEST(PaperDisplay, PaintPaths)
{
    ShownPaper p(100, 80);
    TPaper &paper = *p.paper;
    EXPECT_EQ(PaintJob::Source::Nothing, paper.PaintRect({120, 0, 150, 10}, 320, 240).source) << "outside the paper";
    EXPECT_EQ(PaintJob::Source::Composite, paper.PaintWindow(320, 240).source) << "1:1 is a plain copy";
    EXPECT_EQ(100, paper.PaintWindow(320, 240).window.right);

    paper.view.SetZoomStep(2); // 3/2, copied by stretching with smooth view off
    PaintJob job = paper.PaintRect({1, 1, 4, 3}, 320, 240);
    EXPECT_EQ(PaintJob::Source::Composite, job.source);
    EXPECT_EQ(1, job.window.left) << "widened to whole window pixels";
    EXPECT_EQ(6, job.window.right);

    // Scaled without smoothing: a re-rendered square equals the same pixels of a whole render.
    paper.ActiveLayer()->Image()->MaskedFill({10, 10, 50, 40}, 0xFFFFFFFF, 0xFF336699);
    paper.RecomposeAll();
    for (bool smooth : {false, true})
        for (float degrees : {0.0f, 30.0f}) {
            SCOPED_TRACE(testing::Message() << smooth << " " << degrees);
            paper.view.smooth = smooth;
            paper.view.SetZoomStep(-3);
            paper.view.SetRotationCentre(50, 40);
            paper.view.SetRotationDegrees(degrees);
            ASSERT_TRUE(paper.RefreshViewImage(160, 120));
            EXPECT_EQ(PaintJob::Source::ViewImage, paper.PaintWindow(160, 120).source);
            std::vector<uint32_t> whole;
            for (int32_t y = 0; y < 120; ++y)
                for (int32_t x = 0; x < 160; ++x)
                    whole.push_back(paper.ViewImage().At(x, y));
            job = paper.PaintRect({20, 20, 30, 30}, 160, 120);
            ASSERT_EQ(PaintJob::Source::ViewImage, job.source);
            if (smooth && degrees == 0)
                continue; // the scaled render of a part is its own resampling, not a cut of the whole
            for (int32_t y = 0; y < 120; ++y)
                for (int32_t x = 0; x < 160; ++x)
                    ASSERT_EQ(whole[size_t(y * 160 + x)], paper.ViewImage().At(x, y)) << x << "," << y;
        }
}

} // namespace
} // namespace pv::test
