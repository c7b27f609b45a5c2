// Benchmarks register each case twice, as "<case>/ours" and "<case>/peer" (a case without a
// peer only as "<case>/ours"), and report their speed with SetRate. The shared main prints
// one line per case: BENCH <case> ours=<value> peer=<value> unit=<unit> ratio=<ours/peer>.
#pragma once

#include <benchmark/benchmark.h>

namespace pv::bench {

// Records that one iteration processed `amount` of `unit` (the unit is a rate, e.g. "MB/s":
// amount is then megabytes per iteration).
void SetRate(benchmark::State &state, double amount, const char *unit);

// A side whose rate is a known figure rather than a measurement (the speed of real time, say).
void SetFixedRate(benchmark::State &state, double rate, const char *unit);

} // namespace pv::bench
