// The memory segment of the event stream.
#include "events/CMemSeg.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace pv::events {

std::unique_ptr<uint8_t[]> AllocateSegmentMemory(size_t size)
{
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]);
}

bool CMemSeg::Create(uint32_t size, const SegmentAllocator &allocate)
{
    Release();
    if (size == 0)
        return false;
    block_ = allocate ? allocate(size) : AllocateSegmentMemory(size);
    if (!block_)
        return false;
    size_ = size;
    return true;
}

void CMemSeg::Release()
{
    block_.reset();
    size_ = 0;
}

uint32_t CMemSeg::Write(const void *source, uint32_t offset, uint32_t length)
{
    if (!IsValid() || offset >= size_)
        return 0;
    const uint32_t n = std::min(length, size_ - offset);
    std::memcpy(block_.get() + offset, source, n);
    return n;
}

uint32_t CMemSeg::Read(uint32_t offset, void *destination, uint32_t length) const
{
    if (!IsValid() || offset >= size_)
        return 0;
    const uint32_t n = std::min(length, size_ - offset);
    std::memcpy(destination, block_.get() + offset, n);
    return n;
}

} // namespace pv::events
