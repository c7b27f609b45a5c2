// Resampling against OpenCV on the same pixels, one thread: area-average downscales of
// 1920 x 1080 and 4096 x 4096 colour images (cv::resize INTER_AREA), smooth upscales
// (INTER_LINEAR) and the rotated nearest view (cv::warpAffine INTER_NEAREST). Mpix/s of
// destination pixels.
#include "common/BenchRate.h"
#include "raster/CScaleImage.h"
#include "raster/ViewSamplers.h"

#include <cmath>
#include <random>
#include <string>

#ifdef PV_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

using namespace pv;

// The random source picture of the given width (1920 x 1080 or 4096 x 4096).
TMTC &Source(int32_t w)
{
    static TMTC small(1920, 1080), big(4096, 4096);
    static bool filled = false;
    if (!filled) {
        std::mt19937 random(5);
        for (TMTC *image : {&small, &big})
            for (int32_t y = 0; y < image->Height(); ++y)
                for (int32_t x = 0; x < image->Width(); ++x)
                    image->At(x, y) = random() | 0xFF000000u;
        filled = true;
    }
    return w == 1920 ? small : big;
}

int32_t Scaled(int32_t side, double factor) { return std::max(1, int32_t(side * factor)); }

void Ours(benchmark::State &state, int32_t w, int32_t h, double factor)
{
    const TMTC &source = Source(w);
    TMTC dest(Scaled(w, factor), Scaled(h, factor));
    CScaleImageTMTC resampler(&source, &dest);
    for (auto _ : state)
        resampler.Resample({0, 0, w, h}, {0, 0, dest.Width(), dest.Height()});
    pv::bench::SetRate(state, double(dest.Width()) * dest.Height() / 1e6, "Mpix/s");
}

void OursRotated(benchmark::State &state)
{
    const TMTC &source = Source(1920);
    TMTC dest(1920, 1080);
    for (auto _ : state)
        RotatedNearestView(source, dest, 960, 540, 1.0 / 1.5, M_PI / 6);
    pv::bench::SetRate(state, 1920.0 * 1080 / 1e6, "Mpix/s");
}

#ifdef PV_BENCH_OPENCV
cv::Mat Wrap(const TMTC &image)
{
    return cv::Mat(image.Height(), image.Width(), CV_8UC4, image.Pixels(), size_t(image.Width()) * 4);
}

void Peer(benchmark::State &state, int32_t w, int32_t h, double factor)
{
    cv::setNumThreads(1);
    const cv::Mat source = Wrap(Source(w)).clone();
    cv::Mat dest(Scaled(h, factor), Scaled(w, factor), CV_8UC4);
    const int interpolation = factor < 1 ? cv::INTER_AREA : cv::INTER_LINEAR;
    for (auto _ : state)
        cv::resize(source, dest, dest.size(), 0, 0, interpolation);
    pv::bench::SetRate(state, double(dest.cols) * dest.rows / 1e6, "Mpix/s");
}

void PeerRotated(benchmark::State &state)
{
    cv::setNumThreads(1);
    const cv::Mat source = Wrap(Source(1920)).clone();
    cv::Mat dest(1080, 1920, CV_8UC4);
    const cv::Mat m = cv::getRotationMatrix2D(cv::Point2f(960, 540), 30, 1.5);
    for (auto _ : state)
        cv::warpAffine(source, dest, m, dest.size(), cv::INTER_NEAREST, cv::BORDER_CONSTANT, cv::Scalar(128, 128, 128, 0));
    pv::bench::SetRate(state, 1920.0 * 1080 / 1e6, "Mpix/s");
}
#endif

const bool kRegistered = [] {
    struct Case {
        int32_t w, h;
        double factor;
        const char *name;
    } cases[] = {
        {1920, 1080, 0.5, "area_1080p_0.5"},     {1920, 1080, 0.333, "area_1080p_0.333"},
        {1920, 1080, 0.25, "area_1080p_0.25"},   {1920, 1080, 0.06001, "area_1080p_0.06"},
        {4096, 4096, 0.5, "area_4096_0.5"},      {4096, 4096, 0.333, "area_4096_0.333"},
        {4096, 4096, 0.25, "area_4096_0.25"},    {4096, 4096, 0.06001, "area_4096_0.06"},
        {1920, 1080, 1.25, "smooth_1080p_1.25"}, {1920, 1080, 1.5, "smooth_1080p_1.5"},
        {1920, 1080, 1.75, "smooth_1080p_1.75"},
    };
    for (const Case &c : cases) {
        benchmark::RegisterBenchmark((std::string(c.name) + "/ours").c_str(), Ours, c.w, c.h, c.factor)
            ->Unit(benchmark::kMillisecond);
#ifdef PV_BENCH_OPENCV
        benchmark::RegisterBenchmark((std::string(c.name) + "/peer").c_str(), Peer, c.w, c.h, c.factor)
            ->Unit(benchmark::kMillisecond);
#endif
    }
    benchmark::RegisterBenchmark("rotated_nearest_30deg_x1.5/ours", OursRotated)->Unit(benchmark::kMillisecond);
#ifdef PV_BENCH_OPENCV
    benchmark::RegisterBenchmark("rotated_nearest_30deg_x1.5/peer", PeerRotated)->Unit(benchmark::kMillisecond);
#endif
    return true;
}();

} // namespace
