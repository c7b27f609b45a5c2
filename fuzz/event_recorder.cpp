// Fuzzes the recorder's walks over a stream it did not write: a loaded stream is scanned for
// its seal, sealed and unsealed in place, and continued in append mode. The scans must agree
// with the stream walker, touch nothing but the seal bit, and a continued stream must still
// walk after a stroke is appended.
#include "events/CEventMngr.h"
#include "events/PlainRecorderSources.h"
#include "events/StreamWalk.h"
#include "platform/Messages.h"
#include "tools/TStroke.h"

#include <cstdlib>
#include <vector>

namespace pv::events {
namespace {

struct Silent : MessageHost {
    void Warning(std::string_view) override {}
    void Information(std::string_view) override {}
    MessageAnswer Ask(std::string_view, MessageButtons) override { return MessageAnswer::No; }
};

// The stream with the seal bit cleared in every PaperFlags packet.
std::vector<uint8_t> Unsealed(std::span<const uint8_t> bytes)
{
    std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    WalkStream(bytes, [&](const PacketView &p) {
        if (p.group == 0 && p.code == 12)
            copy[p.offset + 3] &= 0x7F;
        return true;
    });
    return copy;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace
} // namespace pv::events

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace pv::events;
    static Silent silent;
    pv::SetMessageHost(&silent);
    const std::span<const uint8_t> bytes(data, size);
    PlainRecorderSources paper;
    paper.selectionEnabled = true;
    pv::TStroke pen;
    CEventMngr recorder(paper, {256, 1024, AllocateSegmentMemory});
    if (!recorder.LoadStream(bytes, pen, 40, false))
        return 0;
    const bool walks = WalkStream(bytes).valid();
    const PaperFlagsScanResult check = recorder.ScanPaperFlags(PaperFlagsScan::Check);
    Check(check.ok == walks);
    if (walks) {
        const PaperFlagsScanResult set = recorder.ScanPaperFlags(PaperFlagsScan::Set);
        Check(set.ok && set.paperFlagsPackets == check.paperFlagsPackets);
        Check(recorder.ScanPaperFlags(PaperFlagsScan::Check).bitFound == (set.paperFlagsPackets > 0));
        recorder.ScanPaperFlags(PaperFlagsScan::Clear);
        Check(recorder.CopyStream() == Unsealed(bytes));
    }
    recorder.SetPlaybackProgress(static_cast<uint32_t>(size / 2), 1, (size & 1) != 0);
    if (recorder.EnterAppendMode()) {
        Check(walks);
        recorder.BeginStroke(1, 2, 0.5f);
        for (int i = 0; i < 20; ++i)
            recorder.AddStrokeSample(float(i), 2, 0.5f);
        recorder.EndStroke();
        Check(WalkStream(recorder.CopyStream()).valid());
        if (recorder.EventDataValid())
            Check(recorder.SaveStream(false, [] { return true; }));
    }
    pv::SetMessageHost(nullptr);
    return 0;
}
