// pvGetThumbnail: finds the thumbnail chunk of a native layered file (after its header
// chunk) or of an event file (from the start: the thumbnail stands before the stream
// header there), undoes the scrambling of form 2, decompresses the top-down colour pixels
// and returns them as a 32-bit bottom-up DIB. Failures fill the error record.
#include "pixkit.h"

#include "chunk_file.h"
#include "diagnostics.h"
#include "dib.h"

#include <algorithm>
#include <new>
#include <vector>

namespace pixkit {
namespace {

constexpr uint32_t kDescriptorSize = 40;
constexpr size_t kScramblePiece = 16384;
constexpr int32_t kMaxThumbnailSide = 4096;

// Result codes the error record carries (those of the event files).
enum ThumbnailError {
    kShortRead = 9,
    kStreamEnded = 10,
    kChunkOverrun = 11,
    kBadForm = 14,
    kBadMagic = 16,
    kBadSize = 17,
};

struct Descriptor {
    uint16_t form;
    uint8_t groupSize, mask, stride, tailBytes;
    int32_t width, height;
    uint32_t storedSize, uncompressedSize;
};

Descriptor ParseDescriptor(const uint8_t *d)
{
    return {LoadLE16(d), d[4], d[5], d[6], d[7],
            static_cast<int32_t>(LoadLE32(d + 16)), static_cast<int32_t>(LoadLE32(d + 20)),
            LoadLE32(d + 24), LoadLE32(d + 28)};
}

// The scrambling of form 2 undone in the opposite order: first the XOR of every
// (stride + 1)-th byte with the complement of the mask, then the reversal of each whole group.
void Unscramble(uint8_t *data, size_t size, const Descriptor &d)
{
    for (size_t start = 0; start < size; start += kScramblePiece) {
        uint8_t *piece = data + start;
        const size_t length = std::min(kScramblePiece, size - start);
        if (d.mask != 0)
            for (size_t i = 0; i < length; i += static_cast<size_t>(d.stride) + 1)
                piece[i] ^= static_cast<uint8_t>(~d.mask);
        if (d.groupSize > 1)
            for (size_t g = 0; g + d.groupSize <= length; g += d.groupSize)
                std::reverse(piece + g, piece + g + d.groupSize);
    }
}

int Fail(int code, const char *what, const char *name)
{
    SetError(code, "pvGetThumbnail: %s (err=%d)\n    file = %s", what, code, name);
    return PIXKIT_FAILED;
}

int ReadThumbnail(const char *name, DibBlocks &blocks)
{
    InputFile file(name);
    if (!file.IsOpen()) {
        SetError(PIXKIT_CANNOT_OPEN, "pvGetThumbnail: cannot open the file\n    file = %s", name);
        return PIXKIT_CANNOT_OPEN;
    }
    ChunkWalker walker(file);
    Chunk chunk;
    if (HasExtension(name, ".pci")) {
        const ChunkStep step = walker.Next(chunk);
        if (step != ChunkStep::Found)
            return Fail(kShortRead, "no header chunk", name);
        if (!chunk.Is("PPIM"))
            return Fail(kBadMagic, "not a native file", name);
    }
    for (;;) {
        const ChunkStep step = walker.Next(chunk);
        if (step == ChunkStep::End)
            return Fail(kStreamEnded, "no thumbnail", name);
        if (step == ChunkStep::Overrun)
            return Fail(kChunkOverrun, "a chunk runs past the end of the file", name);
        if (chunk.Is("PTNL"))
            break;
    }
    uint8_t raw[kDescriptorSize];
    if (!walker.ReadData(chunk, raw, sizeof raw))
        return Fail(kBadSize, "thumbnail chunk too short", name);
    const Descriptor d = ParseDescriptor(raw);
    if (d.form != 1 && d.form != 2)
        return Fail(kBadForm, "unknown thumbnail form", name);
    if (d.width <= 0 || d.height <= 0 || d.width > kMaxThumbnailSide || d.height > kMaxThumbnailSide ||
        uint64_t{d.uncompressedSize} != uint64_t(d.width) * uint64_t(d.height) * 4 ||
        d.storedSize > chunk.size - kDescriptorSize || d.tailBytes > d.storedSize)
        return Fail(kBadSize, "thumbnail descriptor does not fit its chunk", name);

    std::vector<uint8_t> stored(d.storedSize);
    if (!file.Read(stored.data(), stored.size()))
        return Fail(kShortRead, "thumbnail data cut short", name);
    const size_t compressedSize = d.storedSize - d.tailBytes;
    if (d.form == 2)
        Unscramble(stored.data(), compressedSize, d);
    std::vector<uint8_t> topDown(d.uncompressedSize);
    if (const int status = pixkitDecompress(stored.data(), compressedSize, topDown.data(), topDown.size());
        status != PIXKIT_DECODE_OK)
        return Fail(kShortRead, "thumbnail data do not decompress", name);

    const size_t rowBytes = static_cast<size_t>(d.width) * 4;
    if (!blocks.MakeHeader(d.width, d.height, 32, 0, false) || !blocks.MakePixels(d.uncompressedSize))
        return Fail(1, "out of memory", name);
    for (int32_t y = 0; y < d.height; ++y)
        std::copy_n(&topDown[y * rowBytes], rowBytes, blocks.pixels() + (d.height - 1 - y) * rowBytes);
    return PIXKIT_OK;
}

} // namespace
} // namespace pixkit

extern "C" int pvGetThumbnail(const char *fileName, void **header, void **pixels)
{
    using namespace pixkit;
    if (fileName == nullptr || header == nullptr || pixels == nullptr)
        return PIXKIT_FAILED;
    try {
        DibBlocks blocks;
        const int result = ReadThumbnail(fileName, blocks);
        if (result == PIXKIT_OK)
            blocks.Hand(header, pixels);
        return result;
    } catch (const std::bad_alloc &) {
        SetError(PIXKIT_EXCEPTION, "pvGetThumbnail: out of memory\n    file = %s", fileName);
        return PIXKIT_EXCEPTION;
    } catch (...) {
        SetError(PIXKIT_LIBRARY_EXCEPTION, "pvGetThumbnail: exception\n    file = %s", fileName);
        return PIXKIT_LIBRARY_EXCEPTION;
    }
}
