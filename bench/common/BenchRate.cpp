// SetRate and SetFixedRate: the rate counter and unit label that the BENCH reporter reads.
#include "common/BenchRate.h"

namespace pv::bench {

void SetRate(benchmark::State &state, double amount, const char *unit)
{
    state.counters["rate"] = benchmark::Counter(amount * static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
    state.SetLabel(unit);
}

void SetFixedRate(benchmark::State &state, double rate, const char *unit)
{
    state.counters["rate"] = benchmark::Counter(rate);
    state.SetLabel(unit);
}

} // namespace pv::bench
