// The library frame: version, the error record, the block allocator and the ordinal table.
#include "pixkit.h"

#include "diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static_assert(sizeof(PixkitBitmapInfoHeader) == 40);
static_assert(offsetof(PixkitBitmapInfoHeader, bitCount) == 14);
static_assert(offsetof(PixkitBitmapInfoHeader, compression) == 16);
static_assert(offsetof(PixkitBitmapInfoHeader, clrImportant) == 36);
static_assert(sizeof(PixkitImageType) == 24);
static_assert(offsetof(PixkitImageType, yDpi) == 20);
static_assert(offsetof(PixkitErrorRecord, message) == sizeof(void *));
static_assert(offsetof(PixkitErrorRecord, text) == 2 * sizeof(void *));
static_assert(sizeof(PixkitJpegOptions) == 20);
static_assert(offsetof(PixkitJpegOptions, smoothing) == 16);
static_assert(offsetof(PixkitCompressRecord, write) == sizeof(void *));
static_assert(offsetof(PixkitCompressRecord, grow) == 2 * sizeof(void *));
static_assert(offsetof(PixkitCompressRecord, compressedSize) == 3 * sizeof(void *));

namespace {

PixkitErrorRecord errorRecord{0, errorRecord.text, {}};

struct OrdinalEntry {
    int ordinal;
    void *function;
};

const OrdinalEntry ordinalTable[] = {
    {8, reinterpret_cast<void *>(&pixkitCompress)},
    {9, reinterpret_cast<void *>(&pixkitDecompressUnbounded)},
    {16, reinterpret_cast<void *>(&pixkitSetPngSoftware)},
    {30, reinterpret_cast<void *>(&pixkitRgbToHls)},
    {31, reinterpret_cast<void *>(&pixkitHlsToRgb)},
    {32, reinterpret_cast<void *>(&pixkitLightness)},
    {68, reinterpret_cast<void *>(&pixkitMeasureClock)},
};

} // namespace

namespace pixkit {

void SetError(int code, const char *format, ...)
{
    errorRecord.code = code;
    errorRecord.message = errorRecord.text;
    va_list args;
    va_start(args, format);
    std::vsnprintf(errorRecord.text, sizeof errorRecord.text, format, args);
    va_end(args);
    Debug("%s\n", errorRecord.text);
}

void Debug(const char *format, ...)
{
    static const bool enabled = std::getenv("PICTAVELLA_DEBUG") != nullptr;
    if (!enabled)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

} // namespace pixkit

extern "C" {

uint32_t gdllGetVersion(void)
{
    return 0x000A0001u;
}

PixkitErrorRecord *gdllGetExtInfo(int selector)
{
    return selector == 0 ? &errorRecord : nullptr;
}

void *pixkitLocalAlloc(size_t size)
{
    return std::malloc(size != 0 ? size : 1);
}

void pixkitLocalFree(void *block)
{
    std::free(block);
}

void *pixkitOrdinal(int ordinal)
{
    for (const OrdinalEntry &entry : ordinalTable)
        if (entry.ordinal == ordinal)
            return entry.function;
    return nullptr;
}

} // extern "C"
