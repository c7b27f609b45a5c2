// The event file container: an optional thumbnail chunk "PTNL", then either an event header
// "PEVP" with its compressed 64 KiB blocks "PBEV", or one uncompressed chunk "PEVS". Reading
// trusts no field: every chunk size, block length, offset and count is checked against the
// bytes present and against each other before anything is allocated or inflated.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pv::events {

// The result codes of reading and writing event files.
namespace event_file {
constexpr int kOk = 0;
constexpr int kNoMemory = 1;
constexpr int kReadFailed = 9;         // the file ends inside a chunk
constexpr int kThumbnailEnded = 10;
constexpr int kThumbnailPastEnd = 11;
constexpr int kGenerationTooNew = 12;  // above 18
constexpr int kThumbnailForm = 14;     // a form other than 1 or 2, or a descriptor that cannot be
constexpr int kPevsFlags = 15;
constexpr int kBadMagic = 16;
constexpr int kBadSize = 17;
constexpr int kPevsShort = 41;         // the file ends inside the stream of a "PEVS" chunk
constexpr int kNoEvents = 42;
constexpr int kBlockSize = 44;
constexpr int kBlockData = 45;         // a block that does not inflate to its length, or out of place
constexpr int kInvalidStream = 47;
constexpr uint32_t kBlockBytes = 65536;
constexpr uint16_t kGeneration = 18;
} // namespace event_file

struct EventFileHeader {
    int32_t paperWidth = 0, paperHeight = 0;
    uint16_t generation = event_file::kGeneration;
    uint16_t flags = 0;
    uint32_t stepCount = 0;
};

// The paper's composite scaled into 256 x 256, rows top first, alpha 255.
struct EventThumbnail {
    uint16_t form = 1; // 1 plain, 2 scrambled
    int32_t paperWidth = 0, paperHeight = 0;
    int32_t width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

struct EventFileContents {
    EventFileHeader header;
    bool compressed = false;
    std::optional<EventThumbnail> thumbnail; // decoded when asked for
    uint32_t blockCount = 0;
    std::vector<uint8_t> stream;
};

// Reads a whole file's bytes; the result code, contents filled on success.
int ReadEventFile(std::span<const uint8_t> file, EventFileContents &out, bool withThumbnail = false);
// The file's bytes for a stream (validated by a walk first), compressed or not, with an
// optional thumbnail; nothing with the code set on failure.
std::optional<std::vector<uint8_t>> WriteEventFile(const EventFileHeader &header, std::span<const uint8_t> stream,
                                                   bool compressed, const EventThumbnail *thumbnail, int &code);

// Form 2 of the thumbnail: in pieces of at most 16 KiB, groups of `group` bytes reversed (a
// shorter rest stays), then every (stride + 1)-th byte from the piece's first XORed with the
// complement of the mask (a mask of 0 skips it). Unscrambling undoes the two steps in the
// opposite order.
void ScrambleThumbnail(std::span<uint8_t> data, uint8_t group, uint8_t mask, uint8_t stride);
void UnscrambleThumbnail(std::span<uint8_t> data, uint8_t group, uint8_t mask, uint8_t stride);

// The thumbnail's size for a paper: 256 along the longer side.
void ThumbnailSize(int32_t paperWidth, int32_t paperHeight, int32_t &width, int32_t &height);

} // namespace pv::events
