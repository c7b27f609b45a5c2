// BMP writing: file header, the 40-byte header, the colour table or masks, then the pixel
// rows as given, through a temporary file that replaces the target only when complete.
#include "pixkit.h"

#include "dib.h"
#include "file_util.h"

#include <cstring>

using namespace pixkit;

extern "C" int bmpSaveImage(const char *fileName, const void *header, const void *pixels)
{
    try {
        DibLayout layout;
        if (DescribeDib(header, layout) != PIXKIT_OK || pixels == nullptr)
            return PIXKIT_UNSUPPORTED_HEADER;
        PixkitBitmapInfoHeader h;
        std::memcpy(&h, header, sizeof h);
        const uint32_t extraBytes = layout.bitFields ? 12 : layout.tableEntries * 4;
        const uint64_t imageBytes = layout.stride * static_cast<uint64_t>(layout.height);
        const uint64_t offset = 14 + sizeof h + extraBytes;
        if (offset + imageBytes > UINT32_MAX)
            return PIXKIT_UNSUPPORTED_HEADER;
        h.size = sizeof h;
        h.sizeImage = static_cast<uint32_t>(imageBytes);
        h.clrUsed = layout.bitCount <= 8 ? layout.tableEntries : 0;
        h.clrImportant = h.clrImportant <= h.clrUsed ? h.clrImportant : 0;

        uint8_t fileHeader[14] = {'B', 'M'};
        StoreLE32(fileHeader + 2, static_cast<uint32_t>(offset + imageBytes));
        StoreLE32(fileHeader + 10, static_cast<uint32_t>(offset));
        const uint8_t *extra = layout.bitFields ? static_cast<const uint8_t *>(header) + sizeof h : layout.table;

        SaveFile file(fileName);
        if (!file.Write(fileHeader, sizeof fileHeader) || !file.Write(&h, sizeof h) ||
            !file.Write(extra, extraBytes) || !file.Write(pixels, static_cast<size_t>(imageBytes)) ||
            !file.Commit())
            return PIXKIT_FAILED;
        return PIXKIT_OK;
    } catch (...) {
        return PIXKIT_FAILED;
    }
}
