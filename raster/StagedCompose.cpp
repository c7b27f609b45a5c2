// Copying a finished stage block to the composite with stores that bypass the cache.
#include "raster/StagedCompose.h"

#include <cstring>
#include <emmintrin.h>

namespace pv {

void StreamPixels(uint32_t *dest, const uint32_t *source, int32_t count)
{
    int32_t i = 0;
    for (; i < count && (reinterpret_cast<uintptr_t>(dest + i) & 15) != 0; ++i)
        dest[i] = source[i];
    for (; i + 4 <= count; i += 4)
        _mm_stream_si128(reinterpret_cast<__m128i *>(dest + i),
                         _mm_loadu_si128(reinterpret_cast<const __m128i *>(source + i)));
    std::memcpy(dest + i, source + i, size_t(count - i) * 4);
}

void StreamingDone()
{
    _mm_sfence();
}

} // namespace pv
