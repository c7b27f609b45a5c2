// The millisecond clock of the engine (a monotonic clock; only differences and seeds use it).
#pragma once

#include <cstdint>

namespace pv {

uint32_t MillisecondClock();

} // namespace pv
