// pvtool's replaying commands: replay (the composite after N steps or at the end, as PNG) and
// frames (a time-lapse of PNGs every N steps). Each returns the program's exit status.
#pragma once

#include <cstdint>

namespace pv::cli {

// steps < 0: to the end.
int Replay(const char *path, const char *out, int64_t steps);
// every ≥ 1; scale in (0, 8].
int Frames(const char *path, const char *folder, int64_t every, double scale);

} // namespace pv::cli
