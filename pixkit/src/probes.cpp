// The probes of the program's own files: the header chunk of a native layered file and the
// first event-stream header of an event file give kind and size.
#include "pixkit.h"

#include "chunk_file.h"

namespace pixkit {
namespace {

constexpr int32_t kMaxPaperSide = 10000;

bool PaperSizeIsValid(int32_t width, int32_t height)
{
    return width > 0 && height > 0 && width <= kMaxPaperSide && height <= kMaxPaperSide;
}

void FillType(PixkitImageType *type, int32_t width, int32_t height, int32_t dpi)
{
    if (type == nullptr)
        return;
    *type = PixkitImageType{32, 0, width, height, dpi, dpi};
}

} // namespace
} // namespace pixkit

using namespace pixkit;

extern "C" {

int pviGetType(const char *fileName, PixkitImageType *type)
{
    try {
        InputFile file(fileName);
        if (!file.IsOpen())
            return PIXKIT_CANNOT_OPEN;
        ChunkWalker walker(file);
        Chunk chunk;
        uint8_t header[48];
        if (walker.Next(chunk) != ChunkStep::Found || !chunk.Is("PPIM") || chunk.size != sizeof header ||
            !walker.ReadData(chunk, header, sizeof header))
            return PIXKIT_FAILED;
        const auto width = static_cast<int32_t>(LoadLE32(header));
        const auto height = static_cast<int32_t>(LoadLE32(header + 4));
        if (!PaperSizeIsValid(width, height))
            return PIXKIT_FAILED;
        FillType(type, width, height, LoadLE16(header + 28));
        return PIXKIT_OK;
    } catch (...) {
        return PIXKIT_FAILED;
    }
}

int pesGetType(const char *fileName, PixkitImageType *type)
{
    try {
        InputFile file(fileName);
        if (!file.IsOpen())
            return PIXKIT_CANNOT_OPEN;
        ChunkWalker walker(file);
        Chunk chunk;
        while (walker.Next(chunk) == ChunkStep::Found) {
            const bool compressed = chunk.Is("PEVP");
            if (!compressed && !chunk.Is("PEVS"))
                continue;
            // "PEVP" is exactly 48 bytes; "PEVS" has its 32-byte header before the stream.
            uint8_t header[8];
            if ((compressed ? chunk.size != 48 : chunk.size < 32) || !walker.ReadData(chunk, header, sizeof header))
                return PIXKIT_FAILED;
            const auto width = static_cast<int32_t>(LoadLE32(header));
            const auto height = static_cast<int32_t>(LoadLE32(header + 4));
            if (!PaperSizeIsValid(width, height))
                return PIXKIT_FAILED;
            FillType(type, width, height, 0);
            return PIXKIT_OK;
        }
        return PIXKIT_FAILED;
    } catch (...) {
        return PIXKIT_FAILED;
    }
}

} // extern "C"
