// Encoding packets into a stream and decoding payloads out of it, typed by the packet's
// payload record (PayloadOf<PacketId::X>). Encoding appends the whole packet or, on failure,
// nothing; decoding checks every field against the payload bytes.
#pragma once

#include "events/CommandPayloads.h"
#include "events/ImagePayloads.h"
#include "events/PacketTable.h"
#include "events/StatePayloads.h"

#include <optional>
#include <span>
#include <vector>

namespace pv::events {

template <PacketId id> struct PacketPayload;
#define PV_GROUP(...)
#define PV_PACKET(Group, code, Name, Payload, fixed, field, offset, scale) \
    template <> struct PacketPayload<PacketId::Name> { using type = Payload; };
#define PV_ANYCODE(Group, Name, Payload, fixed, field, offset, scale) \
    template <> struct PacketPayload<PacketId::Name> { using type = Payload; };
#include "events/PacketList.def"
#undef PV_GROUP
#undef PV_PACKET
#undef PV_ANYCODE

template <PacketId id> using PayloadOf = typename PacketPayload<id>::type;

// Appends header and payload; on failure (a field that cannot be represented) the stream is
// left as it was.
template <class Record>
bool AppendPacket(std::vector<uint8_t> &stream, uint8_t group, uint8_t code, const Record &record)
{
    const size_t start = stream.size();
    stream.push_back(group);
    stream.push_back(code);
    Record copy = record; // Fields() fills in the derived size fields while writing
    PayloadWriter writer(stream);
    copy.Fields(writer);
    if (!writer.ok()) {
        stream.resize(start);
        return false;
    }
    return true;
}

template <PacketId id>
bool AppendPacket(std::vector<uint8_t> &stream, const PayloadOf<id> &record)
{
    return AppendPacket(stream, GroupOf(id), CodeOf(id), record);
}

// A StrokePoints or StrokeEnd packet: the code is the number of samples, at most 16.
bool AppendStrokeSamples(std::vector<uint8_t> &stream, PacketGroup group, const StrokeSamplesRecord &record);

// Decodes a payload (exactly the bytes the length rule gives) into its record; every byte
// must belong to a field.
template <class Record>
std::optional<Record> DecodePayload(std::span<const uint8_t> payload)
{
    Record record;
    PayloadReader reader(payload);
    record.Fields(reader);
    if (!reader.ok() || reader.remaining() != 0)
        return std::nullopt;
    return record;
}

template <PacketId id>
std::optional<PayloadOf<id>> DecodePayload(std::span<const uint8_t> payload)
{
    return DecodePayload<PayloadOf<id>>(payload);
}

// The samples of a stroke packet for playback: refuses a code above 16 or a payload that is
// not 12 × code bytes.
std::optional<StrokeSamplesRecord> DecodeStrokeSamples(uint8_t code, std::span<const uint8_t> payload);

// The start time of a recording from a RecordTime payload (exactly 16 bytes of data).
std::optional<SystemTime> DecodeRecordTime(std::span<const uint8_t> payload);

} // namespace pv::events
