// The event stream's memory: a list of equal segments, appended one at a time as the stream
// grows, so a long recording never moves. Byte p lies in segment p / segment size at
// p % segment size; every read and write splits at segment boundaries. The list's first
// reservation only sizes its pointer array; the stream is not limited by it.
//
// The walker finds packets with the length rule alone, reading at most a header and a fixed
// part of each into a small buffer, so it never needs the stream in one piece.
#pragma once

#include "events/CMemSeg.h"
#include "events/StreamWalk.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace pv::events {

struct SegmentPacket {
    uint64_t offset;        // of the header
    uint8_t group;
    uint8_t code;
    uint64_t payloadLength;
    uint64_t PayloadOffset() const { return offset + 2; }
    uint64_t End() const { return offset + 2 + payloadLength; }
};

class CSegmentedStream {
public:
    CSegmentedStream(uint32_t segmentSize, size_t reservedSegments, SegmentAllocator allocate);

    uint32_t SegmentSize() const { return segmentSize_; }
    size_t SegmentCount() const { return segments_.size(); }
    uint64_t Capacity() const { return uint64_t{segmentSize_} * segments_.size(); }

    bool AppendSegment();
    void Clear() { segments_.clear(); }
    // Keeps the first `count` segments.
    void KeepSegments(size_t count);

    // Writes at offset, appending segments while the write passes the capacity; false when a
    // segment cannot be had (what was copied before stays; the caller keeps its end).
    bool Write(uint64_t offset, std::span<const uint8_t> bytes);
    // Writes over bytes that exist; false (nothing written) when the range passes the capacity.
    bool Overwrite(uint64_t offset, std::span<const uint8_t> bytes);
    // false when the range passes the capacity.
    bool Read(uint64_t offset, std::span<uint8_t> out) const;
    // The bytes [from, to) in segment-sized pieces, in order.
    void ForEachPiece(uint64_t from, uint64_t to, const std::function<void(std::span<const uint8_t>)> &visit) const;

    // Walks the packets of [from, to) like WalkStream; visit may return false to stop.
    WalkResult Walk(uint64_t from, uint64_t to, const std::function<bool(const SegmentPacket &)> &visit) const;

private:
    template <class Op> bool Pieces(uint64_t offset, size_t length, Op op) const;

    uint32_t segmentSize_;
    SegmentAllocator allocate_;
    std::vector<std::unique_ptr<CMemSeg>> segments_;
};

} // namespace pv::events
