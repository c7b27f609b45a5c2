// Fuzzes the JPEG reader and its probe.
#include "pixkit.h"

#include "pixkit_fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    pixkit_fuzz::RunImageReader(&jpegGetType, &jpegGetImage, data, size, ".jpg");
    return 0;
}
