// Milliseconds from the steady clock, wrapping like a 32-bit millisecond timer.
#include "platform/Clock.h"

#include <chrono>

namespace pv {

uint32_t MillisecondClock()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

} // namespace pv
