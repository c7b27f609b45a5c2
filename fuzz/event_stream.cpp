// Fuzzes the event stream readers: the walker, step splitting, the version record, the dump,
// and the payload decoder of every packet. A payload that decodes must encode again, and what
// that encodes to must decode and encode to the very same bytes.
#include "events/PacketCodec.h"
#include "events/StreamWalk.h"

#include <cstdlib>

namespace pv::events {
namespace {

template <class Record>
void CheckRoundTrip(uint8_t group, uint8_t code, std::span<const uint8_t> payload)
{
    const auto record = DecodePayload<Record>(payload);
    if (!record)
        return;
    std::vector<uint8_t> once;
    if (!AppendPacket(once, group, code, *record))
        return; // a value that cannot be written back (a name too long for its field)
    const auto again = DecodePayload<Record>(std::span(once).subspan(2));
    if (!again)
        std::abort();
    std::vector<uint8_t> twice;
    if (!AppendPacket(twice, group, code, *again) || twice != once)
        std::abort();
    const StepSplit split = SplitSteps(once);
    if (!split.walk.valid() || split.walk.packets != 1)
        std::abort();
}

void DecodePacket(const PacketView &p)
{
    if (p.group == static_cast<uint8_t>(PacketGroup::StrokePoints) ||
        p.group == static_cast<uint8_t>(PacketGroup::StrokeEnd)) {
        DecodeStrokeSamples(p.code, p.payload);
        return;
    }
    if (p.group == static_cast<uint8_t>(PacketGroup::Info))
        DecodeRecordTime(p.payload);
    const PacketRule *rule = FindPacketRule(p.group, p.code);
    const uint16_t id = rule->anyCode ? MakePacketId(static_cast<PacketGroup>(p.group), 0)
                                      : MakePacketId(static_cast<PacketGroup>(p.group), p.code);
    switch (static_cast<PacketId>(id)) {
#define PV_GROUP(...)
#define PV_PACKET(Group, rowCode, Name, Payload, fixed, field, offset, scale) \
    case PacketId::Name: CheckRoundTrip<Payload>(p.group, p.code, p.payload); break;
#define PV_ANYCODE(Group, Name, Payload, fixed, field, offset, scale) \
    case PacketId::Name: CheckRoundTrip<Payload>(p.group, p.code, p.payload); break;
#include "events/PacketList.def"
#undef PV_GROUP
#undef PV_PACKET
#undef PV_ANYCODE
    }
}

} // namespace
} // namespace pv::events

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace pv::events;
    const std::span<const uint8_t> stream(data, size);
    const WalkResult walk = WalkStream(stream, [](const PacketView &p) {
        DecodePacket(p);
        return true;
    });
    const StepSplit split = SplitSteps(stream);
    if (split.walk.valid() != walk.valid() || split.walk.offset != walk.offset)
        std::abort();
    for (uint64_t end : split.stepEnds)
        if (end > size)
            std::abort();
    ReadStreamVersion(stream);
    DumpStream(stream);
    return 0;
}
