// The per-pixel reference row loop and the processor check of the vector kernels.
#include "raster/ComposeRows.h"

namespace pv {

void ComposeRowByPixel(ComposeRoutine compose, uint32_t *dest, const uint32_t *source, int32_t count,
                       int opacity)
{
    for (int32_t i = 0; i < count; ++i)
        compose(dest + i, source[i], opacity);
}

} // namespace pv
