// CMemSeg: one block of the in-memory event stream. Reads and writes are clipped to the
// block and report how many bytes they moved, so a caller that splits a copy at block
// boundaries never touches memory outside one.
//
// Blocks come from a SegmentAllocator, so that a test can make an allocation fail without
// any switch in the product; an allocation that fails leaves the segment without a block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace pv::events {

// Returns a block of `size` bytes, or null when there is no memory.
using SegmentAllocator = std::function<std::unique_ptr<uint8_t[]>(size_t size)>;

// new (std::nothrow).
std::unique_ptr<uint8_t[]> AllocateSegmentMemory(size_t size);

class CMemSeg {
public:
    CMemSeg() = default;
    CMemSeg(uint32_t size, const SegmentAllocator &allocate) { Create(size, allocate); }

    // Frees any old block, then allocates size bytes; false (and no block) on failure.
    bool Create(uint32_t size, const SegmentAllocator &allocate = AllocateSegmentMemory);
    void Release();

    bool IsValid() const { return block_ != nullptr; }
    uint32_t Size() const { return size_; }

    // Copy min(length, size - offset) bytes; 0 when the segment has no block or offset >= size.
    uint32_t Write(const void *source, uint32_t offset, uint32_t length);
    uint32_t Read(uint32_t offset, void *destination, uint32_t length) const;

    const uint8_t *Data() const { return block_.get(); }

private:
    std::unique_ptr<uint8_t[]> block_;
    uint32_t size_ = 0;
};

} // namespace pv::events
