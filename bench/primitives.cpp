// Channel discs (5 x 5 sub-samples, through the exact channel writer) of radius 2, 8, 32
// and 128, as a stroke lays its dabs: 64 discs a pass at centres that walk through
// fractional positions on a 512 x 512 channel. No peer is linked here.
#include "common/BenchRate.h"

#include "raster/Discs.h"

#include <string>

namespace {

constexpr int kSide = 512;
constexpr int kDiscsPerPass = 64;

void ChannelDiscs(benchmark::State &state, double radius)
{
    pv::TChannel channel(kSide, kSide);
    channel.Fill(0);
    for (auto _ : state) {
        for (int k = 0; k < kDiscsPerPass; ++k) {
            const double x = kSide / 2 + (k % 8) * 0.37 - 1.3, y = kSide / 2 + (k / 8) * 0.29 - 1.1;
            pv::ChannelDisc(channel, 255, false, 0.5, radius, x, y);
        }
        benchmark::ClobberMemory();
    }
    pv::bench::SetRate(state, kDiscsPerPass / 1e3, "kdiscs/s");
}

void Register()
{
    for (const double radius : {2.0, 8.0, 32.0, 128.0}) {
        const std::string name = "channel_disc_r" + std::to_string(int(radius)) + "/ours";
        benchmark::RegisterBenchmark(name.c_str(), ChannelDiscs, radius);
    }
}

const bool registered = (Register(), true);

} // namespace
