// Walking a 64 MiB event stream of a realistic mix — pen state, strokes in batches of 16
// samples, layer commands — with the length rule alone. Case `walk`, in MB/s; no peer.
#include "common/BenchRate.h"
#include "events/PacketCodec.h"
#include "events/StreamWalk.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace pv::events;

std::vector<uint8_t> MixedStream(size_t targetBytes)
{
    std::vector<uint8_t> s;
    s.reserve(targetBytes + 4096);
    AppendPacket<PacketId::AppStatus>(s, {});
    AppendPacket<PacketId::NewPaper>(s, {1920, 1080, 350, 1080, 1920});
    unsigned step = 0;
    StrokeSamplesRecord batch;
    while (s.size() < targetBytes) {
        ++step;
        AppendPacket<PacketId::PenColor>(s, {step * 2654435761u, uint8_t(step % 9), 0.8f});
        AppendPacket<PacketId::PenSize>(s, {float(step % 40), 0.1f});
        AppendPacket<PacketId::Current>(s, {uint16_t(step % 4), 0});
        if (step % 10 == 0) {
            AppendPacket<PacketId::SetOpacity>(s, {uint16_t(step % 4), 3, uint8_t(step), 1});
            AppendPacket<PacketId::MoveLayer>(s, {uint16_t(step % 4), 0, 0, 3, -2});
            AppendPacket<PacketId::NewLayerNamed>(s, {uint16_t(step % 4), 1920, 1080, 3, 255, 1, 0, "レイヤー"});
            continue;
        }
        AppendPacket<PacketId::StrokeBeginV2>(s, {0, 0});
        const unsigned batches = 2 + step % 12;
        for (unsigned b = 0; b < batches; ++b) {
            batch.samples.resize(b + 1 == batches ? 1 + step % 16 : 16);
            for (size_t i = 0; i < batch.samples.size(); ++i)
                batch.samples[i] = {float(i + b), float(step % 1000), 0.5f};
            AppendStrokeSamples(s, b + 1 == batches ? PacketGroup::StrokeEnd : PacketGroup::StrokePoints, batch);
        }
    }
    return s;
}

void Walk(benchmark::State &state)
{
    static const std::vector<uint8_t> stream = MixedStream(64u << 20);
    for (auto _ : state) {
        const WalkResult walk = WalkStream(stream);
        if (!walk.valid()) {
            state.SkipWithError("the stream is invalid");
            return;
        }
        benchmark::DoNotOptimize(walk.packets);
    }
    pv::bench::SetRate(state, stream.size() / 1e6, "MB/s");
}
BENCHMARK(Walk)->Name("walk/ours")->Unit(benchmark::kMillisecond);

} // namespace
