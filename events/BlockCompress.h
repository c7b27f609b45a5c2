// The event data's block compressor: pixkit's compressor (ordinal 8) writing to memory that
// starts at 64 KiB and grows as the compressor asks. Used for tone patterns and coverage
// channels; the player decompresses with pixkitDecompress.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pv::events {

// The compressed bytes, or nothing when the compressor fails or the input exceeds 4 GiB.
std::optional<std::vector<uint8_t>> CompressBlock(std::span<const uint8_t> bytes);

} // namespace pv::events
