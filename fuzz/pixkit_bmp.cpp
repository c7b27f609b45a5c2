// Fuzzes the BMP reader and its probe.
#include "pixkit.h"

#include "pixkit_fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    pixkit_fuzz::RunImageReader(&bmpGetType, &bmpGetImage, data, size, ".bmp");
    return 0;
}
