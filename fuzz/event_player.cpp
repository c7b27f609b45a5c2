// Fuzzes the event player: any stream either fails to start with a start result or is played
// step by step to its end or to an error, with a bounded amount of work. Papers are kept
// small so that each input stays quick; the player's own limits stand as they are.
#include "document/EventPlayer.h"
#include "document/PaperHost.h"
#include "events/StreamWalk.h"

namespace {

constexpr int32_t kLargestFuzzedSide = 256;

// Whether every new paper in the stream fits the fuzzer's size limit.
bool SmallPapers(std::span<const uint8_t> stream)
{
    using namespace pv::events;
    bool small = true;
    WalkStream(stream, [&](const PacketView &p) {
        if (p.group != GroupOf(PacketId::NewPaper))
            return true;
        int32_t sides[4] = {};
        if (p.code == CodeOf(PacketId::NewPaper)) {
            if (const auto r = DecodePayload<PacketId::NewPaper>(p.payload))
                sides[0] = r->paperWidth, sides[1] = r->paperHeight, sides[2] = r->layerWidth, sides[3] = r->layerHeight;
        } else if (p.code == CodeOf(PacketId::NewPaperV2)) {
            if (const auto r = DecodePayload<PacketId::NewPaperV2>(p.payload))
                sides[0] = r->paperWidth, sides[1] = r->paperHeight, sides[3] = r->layerHeight;
        }
        for (int32_t side : sides)
            small = small && side <= kLargestFuzzedSide;
        return small;
    });
    return small;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace pv;
    const std::span<const uint8_t> stream(data, size);
    if (!SmallPapers(stream))
        return 0;
    HeadlessPaperHost host;
    TStroke pen;
    TFlowImage image;
    const std::unique_ptr<TPaper> paper = TPaper::CreatePaper(host, 0, pen);
    if (!paper)
        return 0;
    EventPlayer player(*paper, image, pen);
    if (player.StartStream(stream, 10) != PlaybackStart::Started)
        return 0;
    player.SetWait(size % 2 == 1); // both ways of drawing strokes
    int64_t now = 0;
    PlaybackStep step = PlaybackStep::Stepped;
    // A step reads at least one packet of two bytes or draws one of at most 16 samples each.
    for (size_t guard = 0; guard <= size * 16 && (step == PlaybackStep::Stepped || step == PlaybackStep::Idle); ++guard)
        step = player.Step(now += EventPlayer::kWaitMilliseconds);
    if (step == PlaybackStep::Finished)
        player.EnterAppendMode();
    return 0;
}
