// The packet table built from PacketList.def, with a (group, code) index computed at compile
// time so that finding a packet's rule is one byte load.
#include "events/PacketTable.h"

#include <array>

namespace pv::events {
namespace {

constexpr PacketRule kRules[] = {
#define PV_GROUP(...)
#define PV_PACKET(Group, code, Name, Payload, fixed, field, offset, scale) \
    {static_cast<uint8_t>(PacketGroup::Group), code, false, #Name, fixed, SizeField::field, offset, scale},
#define PV_ANYCODE(Group, Name, Payload, fixed, field, offset, scale) \
    {static_cast<uint8_t>(PacketGroup::Group), 0, true, #Name, fixed, SizeField::field, offset, scale},
#include "events/PacketList.def"
#undef PV_GROUP
#undef PV_PACKET
#undef PV_ANYCODE
};

struct GroupInfo {
    uint8_t number;
    std::string_view name;
    bool endsStep;
};

constexpr GroupInfo kGroups[] = {
#define PV_GROUP(number, Name, endsStep) {number, #Name, endsStep},
#define PV_PACKET(...)
#define PV_ANYCODE(...)
#include "events/PacketList.def"
#undef PV_GROUP
#undef PV_PACKET
#undef PV_ANYCODE
};

static_assert(std::size(kRules) < 255, "the index keeps a rule number in one byte");

// index[group * 256 + code] = rule number + 1, or 0 for an unknown pair. Rows covering every
// code are applied first so that named codes of the same group override them.
constexpr std::array<uint8_t, 65536> BuildIndex()
{
    std::array<uint8_t, 65536> index{};
    for (size_t i = 0; i < std::size(kRules); ++i)
        if (kRules[i].anyCode)
            for (unsigned code = 0; code < 256; ++code)
                index[kRules[i].group * 256u + code] = static_cast<uint8_t>(i + 1);
    for (size_t i = 0; i < std::size(kRules); ++i)
        if (!kRules[i].anyCode)
            index[kRules[i].group * 256u + kRules[i].code] = static_cast<uint8_t>(i + 1);
    return index;
}

constexpr std::array<uint8_t, 65536> kIndex = BuildIndex();

constexpr std::array<int16_t, 256> BuildGroupIndex()
{
    std::array<int16_t, 256> index{};
    index.fill(-1);
    for (size_t i = 0; i < std::size(kGroups); ++i)
        index[kGroups[i].number] = static_cast<int16_t>(i);
    return index;
}

constexpr std::array<int16_t, 256> kGroupIndex = BuildGroupIndex();

constexpr bool EveryPacketHasAGroup()
{
    for (const PacketRule &rule : kRules)
        if (kGroupIndex[rule.group] < 0)
            return false;
    return true;
}
static_assert(EveryPacketHasAGroup());

constexpr bool SizeFieldsLieInTheFixedPart()
{
    for (const PacketRule &rule : kRules) {
        const unsigned width = rule.field == SizeField::U16 ? 2 : rule.field == SizeField::U32 ? 4 : 0;
        if (rule.fixed > kMaxFixedPart || rule.offset + width > rule.fixed)
            return false;
    }
    return true;
}
static_assert(SizeFieldsLieInTheFixedPart());

inline uint32_t ReadLe16(const uint8_t *p) { return p[0] | (p[1] << 8); }
inline uint32_t ReadLe32(const uint8_t *p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

} // namespace

const PacketRule *FindPacketRule(uint8_t group, uint8_t code)
{
    const uint8_t n = kIndex[group * 256u + code];
    return n ? &kRules[n - 1] : nullptr;
}

std::span<const PacketRule> AllPacketRules()
{
    return kRules;
}

bool IsKnownGroup(uint8_t group)
{
    return kGroupIndex[group] >= 0;
}

std::string_view GroupName(uint8_t group)
{
    const int16_t i = kGroupIndex[group];
    return i >= 0 ? kGroups[i].name : std::string_view{};
}

bool EndsStep(uint8_t group)
{
    const int16_t i = kGroupIndex[group];
    return i >= 0 && kGroups[i].endsStep;
}

std::optional<uint64_t> PacketLength(std::span<const uint8_t> stream, uint64_t payloadOffset,
                                     uint8_t group, uint8_t code)
{
    const PacketRule *rule = FindPacketRule(group, code);
    if (!rule)
        return std::nullopt;
    if (payloadOffset > stream.size() || stream.size() - payloadOffset < rule->fixed)
        return std::nullopt;
    const uint8_t *field = stream.data() + payloadOffset + rule->offset;
    uint64_t units = 0;
    switch (rule->field) {
    case SizeField::None: break;
    case SizeField::U16: units = ReadLe16(field); break;
    case SizeField::U32: units = ReadLe32(field); break;
    case SizeField::Code: units = code; break;
    }
    return rule->fixed + units * rule->scale;
}

std::optional<uint8_t> StrokeBeginGroup(StrokeGeneration generation)
{
    if (generation.version > 2)
        return std::nullopt;
    if (generation.version == 0)
        return static_cast<uint8_t>(generation.outline ? PacketGroup::StrokeBeginOutline
                                                       : PacketGroup::StrokeBegin);
    return static_cast<uint8_t>(19 + 2 * generation.version + (generation.outline ? 1 : 0));
}

std::optional<StrokeGeneration> StrokeGenerationOf(uint8_t group)
{
    if (group == static_cast<uint8_t>(PacketGroup::StrokeBegin))
        return StrokeGeneration{0, false};
    if (group < 20 || group > 24)
        return std::nullopt;
    const unsigned k = group - 20; // 20 → v0 outline, 21 → v1, 22 → v1 outline, ...
    return StrokeGeneration{static_cast<uint8_t>((k + 1) / 2), k % 2 == 0};
}

} // namespace pv::events
