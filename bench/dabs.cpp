// Dabs of every pen kind along a real 30-second stroke (painting30sec.dat: time, x, y,
// pressure) replayed onto a 1000 x 1000 paper, at radius 2, 16, 64 and 512 (the pen keeps its
// radius to 200, so the largest cases draw at 200 on both sides). The peer, when libmypaint is
// present, replays the same samples on its fixed tiled surface with a round brush of the same
// radius (a smudging one for the finger tip), its spacing tuned until it draws as many dabs as
// we do. Rates are in thousands of dabs a second; blur2 draws no dabs and is left out. The
// per-sample cases time each input sample at radius 32 with the recompose it causes.
#include "common/BenchRate.h"

#include "document/TPaper.h"
#include "tools/DabEngines.h"

#ifdef PV_BENCH_MYPAINT
#include <mypaint-brush.h>
#include <mypaint-fixed-tiled-surface.h>
#endif

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kSide = 1000;

struct Sample {
    double time;
    float x, y, pressure;
};

const std::vector<Sample> &Samples()
{
    static const std::vector<Sample> samples = [] {
        std::vector<Sample> s;
        std::ifstream in(PV_SHARED_TESTDATA "/strokes/painting30sec.dat");
        Sample v{};
        while (in >> v.time >> v.x >> v.y >> v.pressure)
            s.push_back(v);
        return s;
    }();
    return samples;
}

struct OurPaper {
    OurPaper() : paper(pv::TPaper::CreatePaper(host, 0, appPen))
    {
        paper->SetDabEngine(pv::DabEngine::Current, pv::CurrentEngine);
        paper->InitPaper("bench", image, 72, kSide, kSide, kSide, kSide);
    }
    pv::HeadlessPaperHost host;
    pv::TStroke appPen;
    pv::TFlowImage image;
    std::unique_ptr<pv::TPaper> paper;
};

// One replay of the stroke; the number of dabs it drew.
int32_t Replay(OurPaper &p, pv::TStroke &pen)
{
    const std::vector<Sample> &s = Samples();
    pv::StrokeTrack track;
    p.paper->BeginStroke(p.image, pen, track, s[0].x, s[0].y, s[0].pressure, false);
    for (size_t i = 1; i < s.size(); ++i)
        p.paper->AddStrokePoint(p.image, pen, track, s[i].x, s[i].y, s[i].pressure, false);
    pv::SExtent rect;
    p.paper->EndStroke(p.image, pen, track, rect, false);
    return track.dabs;
}

pv::TStroke PenFor(int kind, float radius)
{
    pv::TStroke pen;
    pen.ApplyDefaults(kind);
    pen.SetMaxRadius(radius);
    pen.SetColor(0x203040);
    return pen;
}

// Our dab count for a case, measured once (the peer is tuned to it).
int32_t OurDabs(int kind, float radius)
{
    static std::map<std::pair<int, float>, int32_t> counts;
    const auto key = std::make_pair(kind, radius);
    if (!counts.count(key)) {
        OurPaper p;
        pv::TStroke pen = PenFor(kind, radius);
        counts[key] = Replay(p, pen);
    }
    return counts[key];
}

void Ours(benchmark::State &state, int kind, float radius)
{
    OurPaper p;
    pv::TStroke pen = PenFor(kind, radius);
    int32_t dabs = 0;
    for (auto _ : state) {
        dabs = Replay(p, pen);
        benchmark::ClobberMemory();
    }
    state.counters["dabs"] = dabs;
    pv::bench::SetRate(state, dabs / 1e3, "kdabs/s");
}

// Input samples a second at radius 32, each with the recompose of the rectangle it changed
// (the paper shows every segment as it is drawn): 1000 / rate is the time per sample in ms.
void OursPerSample(benchmark::State &state, int kind)
{
    OurPaper p;
    pv::TStroke pen = PenFor(kind, 32);
    for (auto _ : state) {
        Replay(p, pen);
        benchmark::ClobberMemory();
    }
    pv::bench::SetRate(state, double(Samples().size()), "samples/s");
}

#ifdef PV_BENCH_MYPAINT
// Counts the dabs the brush draws, passing each on to the surface's own routine.
struct CountingSurface {
    MyPaintFixedTiledSurface *surface;
    MyPaintSurfaceDrawDabFunction drawDab;
    int64_t dabs = 0;
};
CountingSurface *counting = nullptr;

int CountDab(MyPaintSurface *self, float x, float y, float radius, float r, float g, float b, float opaque,
             float hardness, float alphaEraser, float aspectRatio, float angle, float lockAlpha, float colorize)
{
    ++counting->dabs;
    return counting->drawDab(self, x, y, radius, r, g, b, opaque, hardness, alphaEraser, aspectRatio, angle, lockAlpha,
                             colorize);
}

int64_t PeerReplay(MyPaintBrush *brush, CountingSurface &c)
{
    MyPaintSurface *surface = mypaint_fixed_tiled_surface_interface(c.surface);
    const std::vector<Sample> &s = Samples();
    c.dabs = 0;
    mypaint_brush_reset(brush);
    mypaint_brush_new_stroke(brush);
    mypaint_surface_begin_atomic(surface);
    for (size_t i = 0; i < s.size(); ++i)
        mypaint_brush_stroke_to(brush, surface, s[i].x, s[i].y, s[i].pressure, 0, 0,
                                i ? s[i].time - s[i - 1].time : 0.008);
    MyPaintRectangle roi;
    mypaint_surface_end_atomic(surface, &roi);
    return c.dabs;
}

void Peer(benchmark::State &state, int kind, float radius)
{
    const float r = PenFor(kind, radius).maxRadius();
    const int32_t target = OurDabs(kind, radius);
    CountingSurface c{mypaint_fixed_tiled_surface_new(kSide, kSide), nullptr};
    MyPaintSurface *surface = mypaint_fixed_tiled_surface_interface(c.surface);
    c.drawDab = surface->draw_dab;
    surface->draw_dab = CountDab;
    counting = &c;
    MyPaintBrush *brush = mypaint_brush_new();
    mypaint_brush_from_defaults(brush);
    mypaint_brush_set_base_value(brush, MYPAINT_BRUSH_SETTING_RADIUS_LOGARITHMIC, std::log(r));
    mypaint_brush_set_base_value(brush, MYPAINT_BRUSH_SETTING_DABS_PER_BASIC_RADIUS, 0);
    mypaint_brush_set_base_value(brush, MYPAINT_BRUSH_SETTING_DABS_PER_SECOND, 0);
    mypaint_brush_set_base_value(brush, MYPAINT_BRUSH_SETTING_SMUDGE, kind == pv::kPenFingerTip ? 1.0f : 0.0f);
    // Spacing tuned until the counts agree.
    float perRadius = 2;
    for (int round = 0; round < 6 && target > 0; ++round) {
        mypaint_brush_set_base_value(brush, MYPAINT_BRUSH_SETTING_DABS_PER_ACTUAL_RADIUS, perRadius);
        const int64_t drawn = PeerReplay(brush, c);
        if (drawn == target || drawn == 0)
            break;
        perRadius *= float(target) / float(drawn);
    }
    int64_t dabs = 0;
    for (auto _ : state) {
        dabs = PeerReplay(brush, c);
        benchmark::ClobberMemory();
    }
    state.counters["dabs"] = double(dabs);
    pv::bench::SetRate(state, double(dabs) / 1e3, "kdabs/s");
    mypaint_brush_unref(brush);
    surface->draw_dab = c.drawDab;
    mypaint_surface_unref(surface);
    counting = nullptr;
}
#endif

void Register()
{
    const int kinds[] = {pv::kPenPencil,   pv::kPenWatercolour, pv::kPenBlur,   pv::kPenEraser,
                         pv::kPenAirbrush, pv::kPenFingerTip,   pv::kPenDarken, pv::kPenLighten};
    for (const int kind : kinds)
        for (const float radius : {2.0f, 16.0f, 64.0f, 512.0f}) {
            const std::string name =
                std::string(pv::PenKindOf(uint8_t(kind)).registryName) + "-r" + std::to_string(int(radius));
            benchmark::RegisterBenchmark((name + "/ours").c_str(), Ours, kind, radius)->Unit(benchmark::kMillisecond);
#ifdef PV_BENCH_MYPAINT
            benchmark::RegisterBenchmark((name + "/peer").c_str(), Peer, kind, radius)->Unit(benchmark::kMillisecond);
#endif
        }
    for (const int kind : kinds) {
        const std::string name = std::string(pv::PenKindOf(uint8_t(kind)).registryName) + "-r32-per-sample/ours";
        benchmark::RegisterBenchmark(name.c_str(), OursPerSample, kind)->Unit(benchmark::kMillisecond);
    }
}

const int registered = (Register(), 0);

} // namespace
