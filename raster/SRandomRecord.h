// The random generator record of dithering: a 32-bit linear congruential generator whose
// draws are scaled into [low, high) by the high half of a 64-bit product, so bounds 0 and
// 255 give 0-254.
#pragma once

#include <cstdint>

namespace pv {

struct SRandomRecord {
    uint32_t seed = 0;
    uint32_t low = 0;
    uint32_t high = 255;
    uint32_t count = 0;
    uint32_t current = 0;
};
static_assert(sizeof(SRandomRecord) == 20);

SRandomRecord SeededRandomRecord(uint32_t seed, uint32_t low = 0, uint32_t high = 255);
uint32_t Draw(SRandomRecord &record);

} // namespace pv
