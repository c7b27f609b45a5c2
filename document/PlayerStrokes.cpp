// The player's strokes: the begin packet sets the private pen's drawing generation and target
// layer, the sample batches are drawn through the paper's own stroke operations with
// recording off (sample by sample in wait mode), and the end commits the stroke as one step.
#include "document/EventPlayer.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace pv {

using namespace events;

bool EventPlayer::BeginStrokeReplay(const Packet &packet)
{
    if (const std::optional<StrokeGeneration> generation = StrokeGenerationOf(packet.group)) {
        const auto begin = DecodePayload<StrokeBeginRecord>(packet.payload);
        if (!begin)
            return false;
        pen_.SetStrokeVersion(generation->version);
        // The recorder marks strokes drawn without smoothing as outline strokes.
        pen_.SetNoSmoothing(generation->outline);
        if (begin->layer != paper_.ActiveLayerIndex()) {
            if (!paper_.SelectLayer(image_, begin->layer))
                return false;
            redrawHints_ |= redraw_hint::kLayerList;
        }
    }
    batch_.clear();
    nextSample_ = 0;
    strokeDrawing_ = sampleBySample_ = endAfterBatch_ = false;
    strokeOpen_ = true;
    return true;
}

EventPlayer::BatchResult EventPlayer::ApplySamples(const Packet &packet)
{
    const bool last = PacketGroup(packet.group) == PacketGroup::StrokeEnd;
    // An empty end batch closes a stroke whose samples filled whole batches.
    const size_t fewest = last ? 0 : 1;
    const std::optional<StrokeSamplesRecord> record = DecodeStrokeSamples(packet.code, packet.payload);
    if (!record || record->samples.size() < fewest || record->samples.size() > StrokeSamplesRecord::kMaxSamples) {
        Fail(packet, "damaged stroke: " + std::to_string(unsigned(packet.code)) + " samples in one batch");
        return BatchResult::Failed;
    }
    const auto usable = [](const events::StrokeSample &s) {
        return std::isfinite(s.pressure) && std::abs(s.x) <= kMaxSampleCoordinate && std::abs(s.y) <= kMaxSampleCoordinate;
    };
    if (!std::all_of(record->samples.begin(), record->samples.end(), usable)) {
        Fail(packet, "damaged stroke: a sample that is not a number or lies far outside any paper");
        return BatchResult::Failed;
    }
    batch_ = record->samples;
    nextSample_ = 0;
    endAfterBatch_ = last;
    if (wait_) {
        sampleBySample_ = true;
        if (!DrawNextSample() && last)
            EndStrokeReplay();
        return BatchResult::StepDone;
    }
    for (const events::StrokeSample &sample : batch_)
        DrawSample(sample);
    nextSample_ = batch_.size();
    if (!last)
        return BatchResult::MoreToRead;
    EndStrokeReplay();
    return BatchResult::StepDone;
}

void EventPlayer::DrawSample(const events::StrokeSample &sample)
{
    if (strokeDrawing_) {
        paper_.AddStrokePoint(image_, pen_, track_, sample.x, sample.y, sample.pressure, false);
        return;
    }
    const StrokeStart form = pen_.strokeVersion() >= 2 && version_ >= 223 ? StrokeStart::Current : StrokeStart::Older;
    strokeDrawing_ = paper_.BeginStroke(image_, pen_, track_, sample.x, sample.y, sample.pressure, false, form);
}

bool EventPlayer::DrawNextSample()
{
    if (!sampleBySample_ || nextSample_ >= batch_.size()) {
        sampleBySample_ = false;
        return false;
    }
    DrawSample(batch_[nextSample_++]);
    if (nextSample_ == batch_.size()) {
        sampleBySample_ = false;
        if (endAfterBatch_)
            EndStrokeReplay();
    }
    return true;
}

void EventPlayer::EndStrokeReplay()
{
    if (strokeDrawing_) {
        SExtent rect;
        paper_.EndStroke(image_, pen_, track_, rect, false);
        redrawHints_ |= redraw_hint::kPreview | redraw_hint::kLayerThumbnails;
    }
    batch_.clear();
    nextSample_ = 0;
    strokeDrawing_ = strokeOpen_ = sampleBySample_ = endAfterBatch_ = false;
    CommitStep();
}

void EventPlayer::FinishStroke()
{
    const bool wait = wait_, paused = paused_;
    wait_ = paused_ = false;
    while (sampleBySample_)
        DrawNextSample();
    // The rest of the stroke's batches too, so that the replay stops on a step boundary.
    while (strokeOpen_ && Step(0) == PlaybackStep::Stepped) {
    }
    wait_ = wait;
    paused_ = paused;
}

} // namespace pv
