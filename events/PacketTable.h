// The event packet table seen from code: group and packet identifiers, the length rule, step
// ends and names — all derived from PacketList.def.
//
// A packet is a 2-byte header {group, code} followed by its payload. The payload has a fixed
// part and, for some codes, a variable part whose size stands in the fixed part; a reader finds
// any packet's length from the header and at most the fixed part (never more than 160 bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace pv::events {

enum class PacketGroup : uint8_t {
#define PV_GROUP(number, Name, endsStep) Name = number,
#define PV_PACKET(...)
#define PV_ANYCODE(...)
#include "events/PacketList.def"
#undef PV_GROUP
#undef PV_PACKET
#undef PV_ANYCODE
};

constexpr uint16_t MakePacketId(PacketGroup group, uint8_t code)
{
    return static_cast<uint16_t>((static_cast<unsigned>(group) << 8) | code);
}

// (group << 8) | code. Rows that cover every code of a group stand for code 0.
enum class PacketId : uint16_t {
#define PV_GROUP(...)
#define PV_PACKET(Group, code, Name, Payload, fixed, field, offset, scale) \
    Name = MakePacketId(PacketGroup::Group, code),
#define PV_ANYCODE(Group, Name, Payload, fixed, field, offset, scale) \
    Name = MakePacketId(PacketGroup::Group, 0),
#include "events/PacketList.def"
#undef PV_GROUP
#undef PV_PACKET
#undef PV_ANYCODE
};

constexpr uint8_t GroupOf(PacketId id) { return static_cast<uint8_t>(static_cast<uint16_t>(id) >> 8); }
constexpr uint8_t CodeOf(PacketId id) { return static_cast<uint8_t>(static_cast<uint16_t>(id) & 0xFF); }

constexpr size_t kPacketHeaderSize = 2;
constexpr size_t kMaxFixedPart = 160;

// How the variable part's size is found.
enum class SizeField : uint8_t { None, U16, U32, Code };

struct PacketRule {
    uint8_t group;
    uint8_t code;     // the code named by this row (0 for rows covering every code)
    bool anyCode;     // the row covers every code of its group
    std::string_view name;
    uint16_t fixed;   // bytes of the fixed part
    SizeField field;
    uint8_t offset;   // where the size field stands in the fixed part
    uint16_t scale;   // bytes of variable part per unit of the size field
};

// The rule of (group, code), or null when the pair is unknown.
const PacketRule *FindPacketRule(uint8_t group, uint8_t code);

// Every row of the table, in table order.
std::span<const PacketRule> AllPacketRules();

// Whether a group number is valid, its name ("" when not) and whether its packets end a step.
bool IsKnownGroup(uint8_t group);
std::string_view GroupName(uint8_t group);
bool EndsStep(uint8_t group);

// The payload length of the packet whose payload starts at payloadOffset in stream. Reads only
// the fixed part; nothing when (group, code) is unknown or the fixed part is cut off. Whether
// the variable part is present is for the caller to check against the stream length.
std::optional<uint64_t> PacketLength(std::span<const uint8_t> stream, uint64_t payloadOffset,
                                     uint8_t group, uint8_t code);

// The stroke-begin group for a drawing generation (0..2) and outline flag, and back.
struct StrokeGeneration {
    uint8_t version;
    bool outline;
};
std::optional<uint8_t> StrokeBeginGroup(StrokeGeneration generation); // versions 0..2
std::optional<StrokeGeneration> StrokeGenerationOf(uint8_t group);

} // namespace pv::events
