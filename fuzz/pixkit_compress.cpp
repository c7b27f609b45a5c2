// Fuzzes the block compressor through both kinds of output: whatever it is given must come
// back unchanged from the decompressor, and stream output must equal memory output.
#include "pixkit.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void *Grow(void *buffer, size_t size)
{
    return std::realloc(buffer, size);
}

size_t Collect(const void *buffer, size_t byteCount, size_t itemCount, void *stream)
{
    auto *out = static_cast<std::vector<uint8_t> *>(stream);
    const auto *bytes = static_cast<const uint8_t *>(buffer);
    out->insert(out->end(), bytes, bytes + byteCount * itemCount);
    return itemCount;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint32_t capacity = 1;
    void *buffer = std::malloc(capacity);
    PixkitCompressRecord toMemory{nullptr, nullptr, &Grow, 0};
    if (pixkitCompress(data, static_cast<uint32_t>(size), &buffer, &capacity, &toMemory) != 0)
        std::abort();

    std::vector<uint8_t> streamed;
    uint8_t staging[97];
    void *stagingBuffer = staging;
    uint32_t stagingCapacity = sizeof staging;
    PixkitCompressRecord toStream{&streamed, &Collect, nullptr, 0};
    if (pixkitCompress(data, static_cast<uint32_t>(size), &stagingBuffer, &stagingCapacity, &toStream) != 0 ||
        streamed.size() != toMemory.compressedSize || std::memcmp(streamed.data(), buffer, streamed.size()) != 0)
        std::abort();

    std::vector<uint8_t> back(size);
    if (pixkitDecompress(buffer, toMemory.compressedSize, back.data(), back.size()) != 0 ||
        (size != 0 && std::memcmp(back.data(), data, size) != 0))
        std::abort();
    std::free(buffer);
    return 0;
}
