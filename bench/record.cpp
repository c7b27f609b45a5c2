// Recording stroke samples: the recorder's cost per sample while a new paper records 16
// strokes of 1,024 samples (pen state deduplicated, batches of 16, 64 KiB segments), against
// appending the same 12-byte samples to a new std::vector<uint8_t>. Both start from no memory
// in every iteration; freed memory is kept by the allocator (no trimming), so neither side
// measures the kernel's page faults, which cost more than the recording itself here.
// Case `stroke_sample`, in million samples per second.
#include "common/BenchRate.h"
#include "events/CEventMngr.h"
#include "events/PlainRecorderSources.h"
#include "platform/Messages.h"
#include "tools/TStroke.h"

#include <cstring>
#include <malloc.h>
#include <vector>

namespace {

using namespace pv::events;

constexpr int kStrokes = 16;
constexpr int kSamplesPerStroke = 1024;
constexpr double kSamples = double(kStrokes) * kSamplesPerStroke;

const bool kKeepFreedMemory = mallopt(M_TRIM_THRESHOLD, 512 << 20) == 1;

float Coordinate(int i) { return float(i) * 0.75f; }

void RecordOurs(benchmark::State &state)
{
    PlainRecorderSources paper;
    pv::TStroke pen;
    pen.ApplyDefaults(0);
    CEventMngr recorder(paper);
    for (auto _ : state) {
        recorder.StartRecording(pen, CEventMngr::RingSizeFor(30));
        recorder.RecordNewPaper({1920, 1080, 350, 1080, 1920});
        for (int s = 0; s < kStrokes; ++s) {
            recorder.BeginStroke(0, 0, 0.5f);
            for (int i = 1; i < kSamplesPerStroke; ++i)
                recorder.AddStrokeSample(Coordinate(i), Coordinate(s), 0.5f);
            recorder.EndStroke();
        }
        benchmark::DoNotOptimize(recorder.End());
    }
    if (!recorder.EventDataValid())
        state.SkipWithError("recording failed");
    pv::bench::SetRate(state, kSamples / 1e6, "Msamples/s");
}
BENCHMARK(RecordOurs)->Name("stroke_sample/ours");

void RecordPeer(benchmark::State &state)
{
    for (auto _ : state) {
        std::vector<uint8_t> bytes; // a new recording starts with no memory, like ours
        benchmark::DoNotOptimize(kKeepFreedMemory);
        for (int s = 0; s < kStrokes; ++s) {
            for (int i = 0; i < kSamplesPerStroke; ++i) {
                const float sample[3] = {Coordinate(i), Coordinate(s), 0.5f};
                uint8_t raw[12];
                std::memcpy(raw, sample, 12);
                bytes.insert(bytes.end(), raw, raw + 12);
            }
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    pv::bench::SetRate(state, kSamples / 1e6, "Msamples/s");
}
BENCHMARK(RecordPeer)->Name("stroke_sample/peer");

} // namespace
