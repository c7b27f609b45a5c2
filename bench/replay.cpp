// Replaying a recorded painting: the 30-second input of painting30sec.dat (time, x, y,
// pressure; pen up where the pressure is 0) drawn as airbrush strokes of radius 16 on a live
// paper and recorded, the set repeated to 100 strokes, then replayed onto empty papers.
// Case painting30s-airbrush-r16 counts samples replayed a second against the 125 samples a
// second at which they were drawn (so the ratio is the speed-up over real time); a second
// case counts steps a second. Saving and loading a 64 MiB stream as a compressed event file
// are in MB/s against zlib compressing and inflating the same 64 KiB blocks.
#include "common/BenchRate.h"

#include "document/EventPlayer.h"
#include "document/PaperHost.h"
#include "events/EventFile.h"
#include "tools/PenKinds.h"

#include <zlib.h>

#include <fstream>
#include <memory>
#include <vector>

namespace {

using namespace pv;

constexpr int32_t kSide = 1000;
constexpr int kStrokes = 100;
constexpr double kDrawnRate = 125; // samples a second: one every 8 ms

struct Sample {
    float x, y, pressure;
};

// The strokes of the painting: runs of samples with pressure.
std::vector<std::vector<Sample>> PaintingStrokes()
{
    std::vector<std::vector<Sample>> strokes(1);
    std::ifstream in(PV_SHARED_TESTDATA "/strokes/painting30sec.dat");
    double time;
    Sample s{};
    while (in >> time >> s.x >> s.y >> s.pressure) {
        if (s.pressure > 0)
            strokes.back().push_back(s);
        else if (!strokes.back().empty())
            strokes.emplace_back();
    }
    if (strokes.back().empty())
        strokes.pop_back();
    return strokes;
}

struct Paper {
    Paper() : paper(TPaper::CreatePaper(host, 0, pen)) {}
    HeadlessPaperHost host;
    TStroke pen;
    TFlowImage image;
    std::unique_ptr<TPaper> paper;
};

struct Recording {
    std::vector<uint8_t> stream;
    uint32_t steps = 0;
    int64_t samples = 0;
};

const Recording &PaintingRecording()
{
    static const Recording recording = [] {
        Recording r;
        const std::vector<std::vector<Sample>> strokes = PaintingStrokes();
        Paper live;
        if (strokes.empty() || !live.paper || !live.paper->InitPaper("bench", live.image, 72, kSide, kSide, kSide, kSide))
            return r;
        live.pen.ApplyDefaults(kPenAirbrush);
        live.pen.SetMaxRadius(16);
        live.pen.SetColor(0x3060C0);
        for (int i = 0; i < kStrokes; ++i) {
            const std::vector<Sample> &stroke = strokes[size_t(i) % strokes.size()];
            StrokeTrack track;
            live.paper->BeginStroke(live.image, live.pen, track, stroke[0].x, stroke[0].y, stroke[0].pressure, true);
            for (size_t k = 1; k < stroke.size(); ++k)
                live.paper->AddStrokePoint(live.image, live.pen, track, stroke[k].x, stroke[k].y, stroke[k].pressure, true);
            SExtent rect;
            live.paper->EndStroke(live.image, live.pen, track, rect, true);
            r.samples += int64_t(stroke.size());
        }
        r.stream = live.paper->Events().CopyStream();
        r.steps = uint32_t(live.paper->Events().StepCount());
        return r;
    }();
    return recording;
}

// One whole replay onto an empty paper; false if it did not reach the end.
bool ReplayOnce(const Recording &recording)
{
    Paper target;
    EventPlayer player(*target.paper, target.image, target.pen);
    if (player.StartStream(recording.stream, recording.steps) != PlaybackStart::Started)
        return false;
    PlaybackStep step;
    while ((step = player.Step(0)) == PlaybackStep::Stepped) {
    }
    return step == PlaybackStep::Finished;
}

void ReplayCase(benchmark::State &state, bool countSamples)
{
    const Recording &recording = PaintingRecording();
    if (recording.stream.empty()) {
        state.SkipWithError("the painting could not be recorded");
        return;
    }
    for (auto _ : state)
        if (!ReplayOnce(recording)) {
            state.SkipWithError("the replay stopped");
            return;
        }
    if (countSamples)
        bench::SetRate(state, double(recording.samples), "samples/s");
    else
        bench::SetRate(state, double(recording.steps), "steps/s");
}

void ReplaySamples(benchmark::State &state) { ReplayCase(state, true); }
void DrawnInRealTime(benchmark::State &state)
{
    for (auto _ : state) {
    }
    bench::SetFixedRate(state, kDrawnRate, "samples/s");
}
void ReplaySteps(benchmark::State &state) { ReplayCase(state, false); }
BENCHMARK(ReplaySamples)->Name("painting30s-airbrush-r16/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(DrawnInRealTime)->Name("painting30s-airbrush-r16/peer")->Iterations(1);
BENCHMARK(ReplaySteps)->Name("painting30s-airbrush-r16-steps/ours")->Unit(benchmark::kMillisecond);

// The painting's stroke steps repeated to 64 MiB behind its first steps.
const std::vector<uint8_t> &LargeStream()
{
    static const std::vector<uint8_t> stream = [] {
        const std::vector<uint8_t> &painting = PaintingRecording().stream;
        const std::vector<uint64_t> ends = events::SplitSteps(painting).stepEnds;
        std::vector<uint8_t> s;
        if (ends.size() < 3)
            return s;
        s.assign(painting.begin(), painting.begin() + ends[1]); // the new paper and session start
        s.reserve(64u << 20);
        while (s.size() + (ends.back() - ends[1]) <= (64u << 20))
            s.insert(s.end(), painting.begin() + ends[1], painting.begin() + ends.back());
        return s;
    }();
    return stream;
}

const std::vector<uint8_t> &LargeFile()
{
    static const std::vector<uint8_t> file = [] {
        int code = 0;
        return events::WriteEventFile({kSide, kSide, 18, 0, 0}, LargeStream(), true, nullptr, code)
            .value_or(std::vector<uint8_t>{});
    }();
    return file;
}

using Blocks = std::vector<std::vector<uint8_t>>;

const Blocks &ZlibBlocks()
{
    static const Blocks blocks = [] {
        Blocks b;
        const std::vector<uint8_t> &s = LargeStream();
        for (size_t at = 0; at < s.size(); at += events::event_file::kBlockBytes) {
            const size_t length = std::min<size_t>(events::event_file::kBlockBytes, s.size() - at);
            uLongf size = compressBound(uLong(length));
            b.emplace_back(size);
            compress2(b.back().data(), &size, s.data() + at, uLong(length), Z_DEFAULT_COMPRESSION);
            b.back().resize(size);
        }
        return b;
    }();
    return blocks;
}

void SaveOurs(benchmark::State &state)
{
    const std::vector<uint8_t> &stream = LargeStream();
    for (auto _ : state) {
        int code = 0;
        const auto file = events::WriteEventFile({kSide, kSide, 18, 0, 0}, stream, true, nullptr, code);
        if (!file) {
            state.SkipWithError("the stream could not be written");
            return;
        }
        benchmark::DoNotOptimize(file->data());
    }
    bench::SetRate(state, double(stream.size()) / 1e6, "MB/s");
}

void SavePeer(benchmark::State &state)
{
    const std::vector<uint8_t> &stream = LargeStream();
    std::vector<uint8_t> out(compressBound(events::event_file::kBlockBytes));
    for (auto _ : state) {
        for (size_t at = 0; at < stream.size(); at += events::event_file::kBlockBytes) {
            uLongf size = uLongf(out.size());
            const size_t length = std::min<size_t>(events::event_file::kBlockBytes, stream.size() - at);
            compress2(out.data(), &size, stream.data() + at, uLong(length), Z_DEFAULT_COMPRESSION);
        }
        benchmark::DoNotOptimize(out.data());
    }
    bench::SetRate(state, double(stream.size()) / 1e6, "MB/s");
}

void LoadOurs(benchmark::State &state)
{
    const std::vector<uint8_t> &file = LargeFile();
    for (auto _ : state) {
        events::EventFileContents contents;
        if (events::ReadEventFile(file, contents) != events::event_file::kOk) {
            state.SkipWithError("the file could not be read");
            return;
        }
        benchmark::DoNotOptimize(contents.stream.data());
    }
    bench::SetRate(state, double(LargeStream().size()) / 1e6, "MB/s");
}

void LoadPeer(benchmark::State &state)
{
    const Blocks &blocks = ZlibBlocks();
    std::vector<uint8_t> stream(LargeStream().size());
    for (auto _ : state) {
        size_t at = 0;
        for (const std::vector<uint8_t> &block : blocks) {
            uLongf size = uLongf(std::min<size_t>(events::event_file::kBlockBytes, stream.size() - at));
            uncompress(stream.data() + at, &size, block.data(), uLong(block.size()));
            at += size;
        }
        benchmark::DoNotOptimize(stream.data());
    }
    bench::SetRate(state, double(stream.size()) / 1e6, "MB/s");
}

BENCHMARK(SaveOurs)->Name("save64MiB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(SavePeer)->Name("save64MiB/peer")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadOurs)->Name("load64MiB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadPeer)->Name("load64MiB/peer")->Unit(benchmark::kMillisecond);

} // namespace
