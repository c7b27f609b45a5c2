// Where each pixel of a soft dab's row falls in the profile: min(kProfileSize − 1,
// int(sqrt(d²) × scale)) for pixels inside the radius (d² < r²), −1 outside, with
// dx = (x0 + i) + 0.5 − x for pixel i. The vector form computes four pixels at a time with
// the same double operations (a square root is correctly rounded either way), so the indices
// are the same.
#pragma once

#include <cstdint>

namespace pv {

void ProfileIndices(int32_t *out, int32_t count, int32_t x0, double x, double dy, double scale, double r2);

} // namespace pv
