// Fuzzes the in-memory BMP reader: any bytes must give a result, never a crash or an
// allocation beyond what the bytes can fill.
#include "raster/DibFormat.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    pv::TMTC image;
    int dpi = 0;
    if (pv::LoadBmpFromMemory(image, data, size, &dpi)) {
        // Touch every pixel so that a wrong size shows as an out-of-bounds read.
        uint32_t sum = 0;
        for (int32_t y = 0; y < image.Height(); ++y)
            for (int32_t x = 0; x < image.Width(); ++x)
                sum += image.At(x, y);
        if (sum == 0x12345678u && dpi == -1)
            return 1;
    }
    return 0;
}
