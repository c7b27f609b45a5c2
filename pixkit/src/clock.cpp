// Measures the processor's time-stamp counter against the steady clock over a busy wait.
#include "pixkit.h"

#include <chrono>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

uint64_t Cycles()
{
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    // Without a cycle counter the steady clock's ticks stand in for cycles.
    return static_cast<uint64_t>(Clock::now().time_since_epoch().count());
#endif
}

} // namespace

extern "C" void pixkitMeasureClock(int ms, double *rate)
{
    if (rate == nullptr)
        return;
    const Clock::time_point t0 = Clock::now();
    const Clock::time_point t1 = Clock::now();
    const uint64_t c0 = Cycles();
    const Clock::time_point until = t1 + std::chrono::milliseconds(ms > 0 ? ms : 0);
    while (Clock::now() < until) {
    }
    const Clock::time_point t2 = Clock::now();
    const uint64_t c1 = Cycles();
    // The second term takes away the cost of one reading of the clock.
    const std::chrono::duration<double> elapsed = (t2 - t1) - (t1 - t0);
    *rate = elapsed.count() > 0.0 ? static_cast<double>(c1 - c0) / elapsed.count() : 0.0;
}
