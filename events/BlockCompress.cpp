// Compression to memory through pixkit's ordinal 8. The output block is malloc'ed because
// the compressor's grow callback reallocates it.
#include "events/BlockCompress.h"

#include "pixkit.h"

#include <cstdlib>
#include <memory>

namespace pv::events {
namespace {

constexpr uint32_t kInitialOutput = 65536;

using CompressFunction = int (*)(const void *, uint32_t, void **, uint32_t *, PixkitCompressRecord *);

void *Grow(void *buffer, size_t newSize) { return std::realloc(buffer, newSize); }

} // namespace

std::optional<std::vector<uint8_t>> CompressBlock(std::span<const uint8_t> bytes)
{
    static const auto compress = reinterpret_cast<CompressFunction>(pixkitOrdinal(8));
    if (!compress || bytes.size() > UINT32_MAX)
        return std::nullopt;
    uint32_t capacity = kInitialOutput;
    void *buffer = std::malloc(capacity);
    if (!buffer)
        return std::nullopt;
    std::unique_ptr<void, decltype(&std::free)> owner(buffer, &std::free);
    PixkitCompressRecord record{nullptr, nullptr, &Grow, 0};
    const int result = compress(bytes.data(), static_cast<uint32_t>(bytes.size()), &buffer, &capacity, &record);
    owner.release();
    owner.reset(buffer);
    if (result != PIXKIT_OK || record.compressedSize > capacity)
        return std::nullopt;
    const auto *out = static_cast<const uint8_t *>(buffer);
    return std::vector<uint8_t>(out, out + record.compressedSize);
}

} // namespace pv::events
