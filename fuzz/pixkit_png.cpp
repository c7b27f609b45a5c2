// Fuzzes the PNG reader and its probe; a decoded image also goes through bmpConv32.
#include "pixkit.h"

#include "pixkit_fuzz_file.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string &name = pixkit_fuzz::InputFile(data, size, ".png");
    PixkitImageType type;
    pngGetType(name.c_str(), &type);
    void *header = nullptr;
    void *pixels = nullptr;
    if (pngGetImage(name.c_str(), &header, &pixels) == 0) {
        const auto *info = static_cast<const PixkitBitmapInfoHeader *>(header);
        const int width = info->width < 64 ? info->width : 64;
        const int height = std::abs(info->height) < 64 ? std::abs(info->height) : 64;
        std::vector<uint32_t> dst(static_cast<size_t>(width) * height);
        bmpConv32(header, pixels, width, height, dst.data());
    }
    pixkitLocalFree(header);
    pixkitLocalFree(pixels);
    return 0;
}
