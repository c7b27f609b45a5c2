// Channel discs (5 x 5 sub-samples, through the exact channel writer) of radius 2, 8, 32
// and 128, as a stroke lays its dabs: 64 discs a pass at centres that walk through
// fractional positions on a 512 x 512 channel. The peer, when OpenCV is present, draws the
// same discs with cv::circle, filled and anti-aliased (LINE_AA), centres and radius in 1/256
// pixel, on one thread.
#include "common/BenchRate.h"

#include "raster/Discs.h"

#ifdef PV_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include <string>

namespace {

constexpr int kSide = 512;
constexpr int kDiscsPerPass = 64;

double CentreX(int k) { return kSide / 2 + (k % 8) * 0.37 - 1.3; }
double CentreY(int k) { return kSide / 2 + (k / 8) * 0.29 - 1.1; }

void Ours(benchmark::State &state, double radius)
{
    pv::TChannel channel(kSide, kSide);
    channel.Fill(0);
    for (auto _ : state) {
        for (int k = 0; k < kDiscsPerPass; ++k)
            pv::ChannelDisc(channel, 255, false, 0.5, radius, CentreX(k), CentreY(k));
        benchmark::ClobberMemory();
    }
    pv::bench::SetRate(state, kDiscsPerPass / 1e3, "kdiscs/s");
}

#ifdef PV_BENCH_OPENCV
void Peer(benchmark::State &state, double radius)
{
    cv::setNumThreads(1);
    cv::Mat channel(kSide, kSide, CV_8UC1, cv::Scalar(0));
    constexpr int kShift = 8;
    const auto fixed = [](double v) { return int(v * (1 << kShift)); };
    for (auto _ : state) {
        for (int k = 0; k < kDiscsPerPass; ++k)
            cv::circle(channel, cv::Point(fixed(CentreX(k)), fixed(CentreY(k))), fixed(radius), cv::Scalar(127),
                       cv::FILLED, cv::LINE_AA, kShift);
        benchmark::ClobberMemory();
    }
    pv::bench::SetRate(state, kDiscsPerPass / 1e3, "kdiscs/s");
}
#endif

void Register()
{
    for (const double radius : {2.0, 8.0, 32.0, 128.0}) {
        const std::string name = "channel_disc_r" + std::to_string(int(radius));
        benchmark::RegisterBenchmark((name + "/ours").c_str(), Ours, radius);
#ifdef PV_BENCH_OPENCV
        benchmark::RegisterBenchmark((name + "/peer").c_str(), Peer, radius);
#endif
    }
}

const bool registered = (Register(), true);

} // namespace
