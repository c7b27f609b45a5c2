// The stream walker and what is built on it. Offsets and lengths are 64-bit, so a payload
// length near 4 GiB cannot wrap an offset back into the stream.
#include "events/StreamWalk.h"

#include "events/CommandPayloads.h"
#include "events/PacketCodec.h"
#include "events/PacketTable.h"

#include <cinttypes>
#include <cstdio>

namespace pv::events {

WalkResult WalkStream(std::span<const uint8_t> stream, const std::function<bool(const PacketView &)> &visit)
{
    WalkResult result;
    const uint64_t size = stream.size();
    uint64_t offset = 0;
    while (offset < size) {
        result.offset = offset;
        if (size - offset < kPacketHeaderSize) {
            result.error = WalkError::CutHeader;
            return result;
        }
        const uint8_t group = stream[offset];
        const uint8_t code = stream[offset + 1];
        const uint64_t payloadOffset = offset + kPacketHeaderSize;
        const PacketRule *rule = FindPacketRule(group, code);
        if (!rule) {
            result.error = WalkError::UnknownPacket;
            return result;
        }
        const auto length = PacketLength(stream, payloadOffset, group, code);
        if (!length) {
            result.error = WalkError::CutFixedPart;
            return result;
        }
        if (*length > size - payloadOffset) {
            result.error = WalkError::CutPayload;
            return result;
        }
        if (visit) {
            const PacketView view{offset, group, code, *length, stream.subspan(payloadOffset, *length)};
            if (!visit(view))
                return result;
        }
        ++result.packets;
        offset = payloadOffset + *length;
    }
    result.offset = offset;
    return result;
}

StepSplit SplitSteps(std::span<const uint8_t> stream)
{
    StepSplit split;
    split.walk = WalkStream(stream, [&](const PacketView &p) {
        if (EndsStep(p.group))
            split.stepEnds.push_back(p.offset + kPacketHeaderSize + p.payloadLength);
        return true;
    });
    if (!split.walk.valid())
        split.stepEnds.clear();
    return split;
}

StreamVersion ReadStreamVersion(std::span<const uint8_t> stream)
{
    StreamVersion version;
    WalkStream(stream, [&](const PacketView &p) {
        if (MakePacketId(static_cast<PacketGroup>(p.group), p.code) != static_cast<uint16_t>(PacketId::AppStatus))
            return true;
        const auto status = DecodePayload<PacketId::AppStatus>(p.payload);
        version.offset = p.offset;
        if (status && status->extensionFlags == 0)
            version.version = status->Version();
        else
            version.rejected = true;
        return false;
    });
    return version;
}

const char *WalkErrorText(WalkError error)
{
    switch (error) {
    case WalkError::None: return "valid";
    case WalkError::CutHeader: return "the stream ends inside a packet header";
    case WalkError::UnknownPacket: return "unknown packet";
    case WalkError::CutFixedPart: return "the stream ends inside the fixed part";
    case WalkError::CutPayload: return "the payload runs past the end of the stream";
    }
    return "?";
}

namespace {

// The fields a reader of a dump looks for first: sizes, the layer, the sample count.
std::string KeyFields(const PacketView &p)
{
    char text[96] = "";
    if (p.group == GroupOf(PacketId::StrokePoints) || p.group == GroupOf(PacketId::StrokeEnd)) {
        std::snprintf(text, sizeof text, "samples=%u", p.code);
    } else if (p.group == GroupOf(PacketId::NewPaper) && p.code == CodeOf(PacketId::NewPaper)) {
        if (const auto r = DecodePayload<PacketId::NewPaper>(p.payload))
            std::snprintf(text, sizeof text, "paper=%dx%d layer=%dx%d dpi=%d", r->paperWidth, r->paperHeight, r->layerWidth,
                          r->layerHeight, r->resolution);
    } else if (p.group == GroupOf(PacketId::Current) && p.code == CodeOf(PacketId::Current)) {
        if (const auto r = DecodePayload<PacketId::Current>(p.payload))
            std::snprintf(text, sizeof text, "layer=%u selection=%u", r->layer, r->selection);
    } else if (StrokeGenerationOf(p.group)) {
        if (const auto r = DecodePayload<StrokeBeginRecord>(p.payload))
            std::snprintf(text, sizeof text, "layer=%u", r->layer);
    }
    return text;
}

} // namespace

std::string DumpStream(std::span<const uint8_t> stream)
{
    std::string out;
    char line[256];
    uint64_t step = 0;
    const WalkResult walk = WalkStream(stream, [&](const PacketView &p) {
        const PacketRule *rule = FindPacketRule(p.group, p.code);
        const std::string fields = KeyFields(p);
        std::snprintf(line, sizeof line, "%08" PRIx64 " %6" PRIu64 "  %3u %-20.*s %3u %-28.*s %8" PRIu64 "%s%s%s\n", p.offset,
                      step, p.group, static_cast<int>(GroupName(p.group).size()), GroupName(p.group).data(), p.code,
                      static_cast<int>(rule->name.size()), rule->name.data(), p.payloadLength,
                      EndsStep(p.group) ? "  |" : fields.empty() ? "" : "   ", fields.empty() ? "" : "  ", fields.c_str());
        out += line;
        step += EndsStep(p.group);
        return true;
    });
    if (!walk.valid()) {
        std::snprintf(line, sizeof line, "%08" PRIx64 "  invalid: %s\n", walk.offset, WalkErrorText(walk.error));
        out += line;
    }
    return out;
}

} // namespace pv::events

