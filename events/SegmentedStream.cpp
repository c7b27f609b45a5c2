// The segmented stream memory and its packet walker.
#include "events/SegmentedStream.h"

#include "events/PacketTable.h"

#include <algorithm>
#include <array>

namespace pv::events {

CSegmentedStream::CSegmentedStream(uint32_t segmentSize, size_t reservedSegments, SegmentAllocator allocate)
    : segmentSize_(segmentSize), allocate_(std::move(allocate))
{
    segments_.reserve(reservedSegments);
}

bool CSegmentedStream::AppendSegment()
{
    auto segment = std::make_unique<CMemSeg>();
    if (!segment->Create(segmentSize_, allocate_))
        return false;
    segments_.push_back(std::move(segment));
    return true;
}

void CSegmentedStream::KeepSegments(size_t count)
{
    if (count < segments_.size())
        segments_.resize(count);
}

// Calls op(segment, position in it, index into the range, length) for each piece of the range
// [offset, offset + length), which must lie inside the capacity.
template <class Op> bool CSegmentedStream::Pieces(uint64_t offset, size_t length, Op op) const
{
    if (offset > Capacity() || length > Capacity() - offset)
        return false;
    size_t done = 0;
    while (done < length) {
        const uint64_t p = offset + done;
        CMemSeg &segment = *segments_[p / segmentSize_];
        const uint32_t at = static_cast<uint32_t>(p % segmentSize_);
        const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(length - done, segmentSize_ - at));
        op(segment, at, done, n);
        done += n;
    }
    return true;
}

bool CSegmentedStream::Write(uint64_t offset, std::span<const uint8_t> bytes)
{
    while (offset + bytes.size() > Capacity())
        if (!AppendSegment())
            return false;
    return Overwrite(offset, bytes);
}

bool CSegmentedStream::Overwrite(uint64_t offset, std::span<const uint8_t> bytes)
{
    return Pieces(offset, bytes.size(), [&](CMemSeg &segment, uint32_t at, size_t index, uint32_t n) {
        segment.Write(bytes.data() + index, at, n);
    });
}

bool CSegmentedStream::Read(uint64_t offset, std::span<uint8_t> out) const
{
    return Pieces(offset, out.size(), [&](const CMemSeg &segment, uint32_t at, size_t index, uint32_t n) {
        segment.Read(at, out.data() + index, n);
    });
}

void CSegmentedStream::ForEachPiece(uint64_t from, uint64_t to,
                                    const std::function<void(std::span<const uint8_t>)> &visit) const
{
    if (to <= from)
        return;
    Pieces(from, to - from, [&](const CMemSeg &segment, uint32_t at, size_t, uint32_t n) {
        visit({segment.Data() + at, n});
    });
}

WalkResult CSegmentedStream::Walk(uint64_t from, uint64_t to,
                                  const std::function<bool(const SegmentPacket &)> &visit) const
{
    WalkResult result;
    to = std::min(to, Capacity());
    uint64_t offset = from;
    std::array<uint8_t, kPacketHeaderSize + kMaxFixedPart> head;
    while (offset < to) {
        result.offset = offset;
        const size_t available = static_cast<size_t>(std::min<uint64_t>(head.size(), to - offset));
        if (available < kPacketHeaderSize) {
            result.error = WalkError::CutHeader;
            return result;
        }
        Read(offset, std::span(head).first(available));
        const uint8_t group = head[0], code = head[1];
        if (!FindPacketRule(group, code)) {
            result.error = WalkError::UnknownPacket;
            return result;
        }
        const auto length = PacketLength(std::span(head).first(available), kPacketHeaderSize, group, code);
        if (!length) {
            result.error = WalkError::CutFixedPart;
            return result;
        }
        if (*length > to - offset - kPacketHeaderSize) {
            result.error = WalkError::CutPayload;
            return result;
        }
        const SegmentPacket packet{offset, group, code, *length};
        if (visit && !visit(packet))
            return result;
        ++result.packets;
        offset = packet.End();
    }
    result.offset = offset;
    return result;
}

} // namespace pv::events
