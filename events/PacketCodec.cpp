// The packet codec's non-template parts: stroke samples, the record time and geometry values.
#include "events/PacketCodec.h"

#include <cstring>

namespace pv::events {

bool AppendStrokeSamples(std::vector<uint8_t> &stream, PacketGroup group, const StrokeSamplesRecord &record)
{
    if (group != PacketGroup::StrokePoints && group != PacketGroup::StrokeEnd)
        return false;
    if (record.samples.size() > StrokeSamplesRecord::kMaxSamples)
        return false;
    return AppendPacket(stream, static_cast<uint8_t>(group), static_cast<uint8_t>(record.samples.size()), record);
}

std::optional<StrokeSamplesRecord> DecodeStrokeSamples(uint8_t code, std::span<const uint8_t> payload)
{
    if (code > StrokeSamplesRecord::kMaxSamples || payload.size() != 12u * code)
        return std::nullopt;
    return DecodePayload<StrokeSamplesRecord>(payload);
}

std::optional<SystemTime> DecodeRecordTime(std::span<const uint8_t> payload)
{
    const auto info = DecodePayload<InfoRecord>(payload);
    if (!info || info->data.size() != 16)
        return std::nullopt;
    return DecodePayload<SystemTime>(info->data);
}

Point GeometryValue::AsPoint() const
{
    Point p;
    PayloadReader reader(bytes);
    reader(p);
    return p;
}

std::array<float, 2> GeometryValue::AsFloats() const
{
    std::array<float, 2> f{};
    PayloadReader reader(bytes);
    reader(f[0]), reader(f[1]);
    return f;
}

GeometryValue GeometryValue::FromPoint(Point p)
{
    std::vector<uint8_t> out;
    PayloadWriter writer(out);
    writer(p);
    GeometryValue g;
    std::memcpy(g.bytes, out.data(), 8);
    return g;
}

GeometryValue GeometryValue::FromFloats(float a, float b)
{
    std::vector<uint8_t> out;
    PayloadWriter writer(out);
    writer(a), writer(b);
    GeometryValue g;
    std::memcpy(g.bytes, out.data(), 8);
    return g;
}

} // namespace pv::events
