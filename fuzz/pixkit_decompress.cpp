// Fuzzes the bounded block decompressor: the first two bytes choose how many bytes to ask
// for, the rest is the compressed stream.
#include "pixkit.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t wanted = (static_cast<size_t>(data[0]) << 8 | data[1]) * 4;
    std::vector<uint8_t> out(wanted);
    pixkitDecompress(data + 2, size - 2, out.data(), out.size());
    return 0;
}
