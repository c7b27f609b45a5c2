// make_sample OUT.pe3: paints a small picture through a paper with recording on — strokes of
// several pens and colours, one without smoothing, a paper colour change — and saves the
// recording, so the project carries an event file it made itself.
#include "document/PaperHost.h"
#include "document/TPaper.h"
#include "events/EventFileIo.h"
#include "tools/PenKinds.h"

#include <cmath>
#include <cstdio>

namespace {

using namespace pv;

struct Stroke {
    int kind;
    float radius;
    uint32_t colour; // 0x00BBGGRR
    float y0, amplitude, phase;
    bool unsmoothed;
};

constexpr Stroke kStrokes[] = {
    {kPenWatercolour, 18, 0xD09040, 60, 20, 0.0f, false},
    {kPenPencil, 4, 0x402010, 100, 30, 1.0f, false},
    {kPenAirbrush, 24, 0x3060E0, 150, 25, 2.0f, false},
    {kPenPencil, 2, 0x20A020, 190, 15, 0.5f, true},
    {kPenFingerTip, 12, 0, 120, 40, 3.0f, false},
    {kPenDarken, 10, 0, 80, 35, 1.5f, false},
};

void Paint(TPaper &paper, TFlowImage &image, TStroke &pen, const Stroke &s)
{
    pen.ApplyDefaults(s.kind);
    pen.SetMaxRadius(s.radius);
    pen.SetColor(s.colour);
    pen.SetNoSmoothing(s.unsmoothed);
    StrokeTrack track;
    for (int i = 0; i <= 90; ++i) {
        const float x = 20 + float(i) * 3.1f, y = s.y0 + s.amplitude * std::sin(float(i) * 0.09f + s.phase);
        const float pressure = 0.35f + 0.65f * std::sin(float(i) * 0.035f);
        if (i == 0)
            paper.BeginStroke(image, pen, track, x, y, pressure, true);
        else
            paper.AddStrokePoint(image, pen, track, x, y, pressure, true);
    }
    SExtent rect;
    paper.EndStroke(image, pen, track, rect, true);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("Usage: make_sample OUT.pe3\n", stderr);
        return 2;
    }
    HeadlessPaperHost host;
    TStroke pen;
    TFlowImage image;
    const std::unique_ptr<TPaper> paper = TPaper::CreatePaper(host, 8, pen);
    if (!paper || !paper->InitPaper("sample", image, 72, 320, 240, 320, 240)) {
        std::fputs("make_sample: cannot make a paper\n", stderr);
        return 1;
    }
    paper->SetPaperColour(0xF4FAFF, true);
    for (const Stroke &stroke : kStrokes)
        Paint(*paper, image, pen, stroke);
    const events::EventFileHeader header{paper->Width(), paper->Height(), events::event_file::kGeneration, 0, 0};
    const int code = events::SaveEventFile(argv[1], paper->Events(), header, true, nullptr, false);
    if (code != events::event_file::kOk) {
        std::fprintf(stderr, "make_sample: %s: cannot be written (err=%d)\n", argv[1], code);
        return 1;
    }
    return 0;
}
