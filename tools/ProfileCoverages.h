// A soft dab's coverage along one row: for pixel i, dx = (x0 + i) + 0.5 − x; inside the
// radius (d² < r²) the profile entry min(kProfileSize − 1, int(sqrt(d²) × scale)) times the
// 16.16 strength, >> 32, at most 255; 0 outside. The vector form computes four pixels at a
// time with the same double and integer operations (a square root is correctly rounded either
// way), so the bytes are the same.
#pragma once

#include <cstdint>

namespace pv {

void ProfileCoverages(uint8_t *out, int32_t count, int32_t x0, double x, double dy, double scale, double r2,
                      const int32_t *profile, int64_t strength);

} // namespace pv
