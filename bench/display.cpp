// What the window shows, on a 4096 x 4096 paper of eight layers with every tile painted:
// recomposing a 256 x 256 changed rectangle (against composing the same rectangle of the
// same stack held as plain images), and filling a 2560 x 1440 view image at zoom steps -4,
// -2, 2, 5 and rotated by 30 degrees at 1:1, smooth view on (against cv::resize INTER_AREA /
// INTER_LINEAR and cv::warpAffine INTER_LINEAR to the same sizes). Rates in calls/s: 500/s
// is 2 ms per recompose, 62.5/s is one 60 Hz frame.
#include "common/BenchRate.h"
#include "document/TPaper.h"
#include "raster/ImageDrivers.h"
#include "raster/SLayerParam.h"

#include <cmath>
#include <memory>
#include <random>
#include <string>

#ifdef PV_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

using namespace pv;

constexpr int32_t kSide = 4096, kViewW = 2560, kViewH = 1440;
constexpr int kModes[8] = {3, 0, 4, 5, 3, 0, 4, 5};
constexpr uint8_t kOpacities[8] = {255, 200, 128, 255, 90, 255, 180, 60};
constexpr SEdgeRect kDirty{1000, 1200, 1256, 1456};

struct Picture {
    HeadlessPaperHost host;
    TStroke pen;
    TFlowImage work;
    std::unique_ptr<TPaper> paper;
    std::vector<std::unique_ptr<TMTC>> plain;
};

Picture &ThePicture()
{
    static std::unique_ptr<Picture> picture;
    if (picture)
        return *picture;
    picture = std::make_unique<Picture>();
    Picture &p = *picture;
    p.paper = TPaper::CreatePaper(p.host, 8, p.pen);
    p.paper->InitPaper("bench", p.work, 0, kSide, kSide, kSide, kSide);
    CLayerMngr &layers = p.paper->Layers();
    std::mt19937 random{7};
    for (int l = 0; l < 8; ++l) {
        if (l > 0)
            layers.AddLayer(l, kSide, kSide, kModes[l], false, kOpacities[l], true);
        CLayerData &layer = *layers.At(l);
        layer.SetBlendMode(uint8_t(kModes[l]));
        layer.SetOpacity(kOpacities[l]);
        CBlockVMTC &image = *layer.Image();
        for (int32_t tile = 0; tile < image.TileCount(); ++tile) {
            image.AllocTile(tile);
            uint32_t *px = reinterpret_cast<uint32_t *>(image.TileMemory(tile));
            for (int i = 0; i < 32 * 32; ++i)
                px[i] = random();
        }
        auto plain = std::make_unique<TMTC>(kSide, kSide);
        image.DrawInto(*plain, {0, 0});
        p.plain.push_back(std::move(plain));
    }
    p.paper->RecomposeAll();
    return p;
}

void Recompose(benchmark::State &state)
{
    TPaper &paper = *ThePicture().paper;
    for (auto _ : state)
        paper.Recompose(kDirty);
    pv::bench::SetRate(state, 1, "calls/s");
}

void RecomposePlain(benchmark::State &state)
{
    Picture &p = ThePicture();
    TMTC composite(kSide, kSide);
    const SExtent r = ToExtent(kDirty);
    for (auto _ : state) {
        composite.FillRect(r, 0xFFFFFFFF);
        for (int l = 0; l < 8; ++l)
            DrawWithOperator(*p.plain[size_t(l)], composite, {r.x, r.y}, LayerParam(kModes[l]).compose, kOpacities[l], r);
    }
    pv::bench::SetRate(state, 1, "calls/s");
}

void SetView(TPaper &paper, int step, float degrees)
{
    paper.view.smooth = true;
    paper.view.SetZoomStep(step);
    paper.view.SetRotationCentre(kSide / 2.0f, kSide / 2.0f);
    paper.view.SetRotationDegrees(degrees);
    paper.view.originX = kSide / 2 - int32_t(kViewW / 2 / paper.view.ZoomFactor());
    paper.view.originY = kSide / 2 - int32_t(kViewH / 2 / paper.view.ZoomFactor());
    paper.view.originX = std::max(paper.view.originX, 0);
    paper.view.originY = std::max(paper.view.originY, 0);
}

void FillView(benchmark::State &state, int step, float degrees)
{
    TPaper &paper = *ThePicture().paper;
    SetView(paper, step, degrees);
    for (auto _ : state)
        paper.RefreshViewImage(kViewW, kViewH);
    pv::bench::SetRate(state, 1, "calls/s");
}

#ifdef PV_BENCH_OPENCV
// The paper area the view shows, resized (or turned) into a view-sized image.
void FillViewPeer(benchmark::State &state, int step, float degrees)
{
    cv::setNumThreads(1);
    const TTC &composite = ThePicture().paper->Composite();
    const cv::Mat source(composite.Height(), composite.Width(), CV_8UC4, composite.Pixels(),
                         size_t(composite.Width()) * 4);
    cv::Mat dest(kViewH, kViewW, CV_8UC4);
    const double z = PaperView::Step(step).factor;
    const int32_t w = std::min(kSide, int32_t(kViewW / z)), h = std::min(kSide, int32_t(kViewH / z));
    const cv::Rect shown((kSide - w) / 2, (kSide - h) / 2, w, h);
    cv::Mat rotation = cv::getRotationMatrix2D(cv::Point2f(kSide / 2.0f, kSide / 2.0f), degrees, z);
    rotation.at<double>(0, 2) += kViewW / 2 - kSide / 2; // the paper's centre at the view's
    rotation.at<double>(1, 2) += kViewH / 2 - kSide / 2;
    for (auto _ : state) {
        if (degrees != 0)
            cv::warpAffine(source, dest, rotation, dest.size(), cv::INTER_LINEAR);
        else
            cv::resize(source(shown), dest(cv::Rect(0, 0, int(w * z), int(h * z))), cv::Size(int(w * z), int(h * z)), 0, 0,
                       z < 1 ? cv::INTER_AREA : cv::INTER_LINEAR);
    }
    pv::bench::SetRate(state, 1, "calls/s");
}
#endif

const bool kRegistered = [] {
    benchmark::RegisterBenchmark("recompose256/ours", Recompose)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("recompose256/peer", RecomposePlain)->Unit(benchmark::kMillisecond);
    const struct {
        const char *name;
        int step;
        float degrees;
    } views[] = {{"view_step-4", -4, 0}, {"view_step-2", -2, 0}, {"view_step2", 2, 0}, {"view_step5", 5, 0},
                 {"view_rotated30", 0, 30}};
    for (const auto &v : views) {
        benchmark::RegisterBenchmark((std::string(v.name) + "/ours").c_str(), FillView, v.step, v.degrees)
            ->Unit(benchmark::kMillisecond);
#ifdef PV_BENCH_OPENCV
        benchmark::RegisterBenchmark((std::string(v.name) + "/peer").c_str(), FillViewPeer, v.step, v.degrees)
            ->Unit(benchmark::kMillisecond);
#endif
    }
    return true;
}();

} // namespace
