// Draws of the random generator record.
#include "raster/SRandomRecord.h"

namespace pv {

SRandomRecord SeededRandomRecord(uint32_t seed, uint32_t low, uint32_t high)
{
    return SRandomRecord{seed, low, high, 0, seed};
}

uint32_t Draw(SRandomRecord &record)
{
    ++record.count;
    record.current = record.current * 0x08088405u + 1u;
    return record.low + uint32_t((uint64_t(record.high - record.low) * record.current) >> 32);
}

} // namespace pv
