// Reading and writing the event file container.
#include "events/EventFile.h"

#include "events/BlockCompress.h"
#include "events/StreamWalk.h"
#include "pixkit.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace pv::events {
namespace {

using namespace event_file;

constexpr size_t kScramblePiece = 16384;
constexpr uint8_t kScrambleGroup = 4, kScrambleMask = 0xA5, kScrambleStride = 3;
constexpr int32_t kThumbnailSide = 256;

uint32_t U32(std::span<const uint8_t> b, size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; }
uint16_t U16(std::span<const uint8_t> b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
bool MagicIs(std::span<const uint8_t> b, size_t at, const char *magic) { return std::memcmp(b.data() + at, magic, 4) == 0; }

class Writer {
public:
    std::vector<uint8_t> bytes;
    void Magic(const char *m) { bytes.insert(bytes.end(), m, m + 4); }
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(v >> (8 * i)));
    }
    void U16(uint16_t v)
    {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
    }
    void Bytes(std::span<const uint8_t> b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
    void PadTo4() { bytes.resize((bytes.size() + 3) & ~size_t(3), 0); }
};

uint32_t Padded(size_t n) { return uint32_t((n + 3) & ~size_t(3)); }

void ReverseGroups(std::span<uint8_t> piece, uint8_t group)
{
    if (group < 2)
        return;
    for (size_t at = 0; at + group <= piece.size(); at += group)
        std::reverse(piece.begin() + ptrdiff_t(at), piece.begin() + ptrdiff_t(at + group));
}

void XorEvery(std::span<uint8_t> piece, uint8_t mask, uint8_t stride)
{
    if (mask == 0)
        return;
    for (size_t at = 0; at < piece.size(); at += size_t(stride) + 1)
        piece[at] ^= uint8_t(~mask);
}

template <class F> void ForEachPiece(std::span<uint8_t> data, F &&f)
{
    for (size_t at = 0; at < data.size(); at += kScramblePiece)
        f(data.subspan(at, std::min(kScramblePiece, data.size() - at)));
}

int ReadThumbnail(std::span<const uint8_t> chunk, EventThumbnail &out)
{
    // chunk: the 40-byte descriptor, then the stored data.
    const uint16_t form = U16(chunk, 0);
    const uint8_t group = chunk[4], mask = chunk[5], stride = chunk[6], tail = chunk[7];
    const int32_t w = int32_t(U32(chunk, 16)), h = int32_t(U32(chunk, 20));
    const uint32_t stored = U32(chunk, 24), raw = U32(chunk, 28);
    if ((form != 1 && form != 2) || (form == 2 && group < 1) || w < 1 || w > kThumbnailSide || h < 1 || h > kThumbnailSide ||
        uint64_t(raw) != uint64_t(w) * uint64_t(h) * 4 || stored > chunk.size() - 40 || tail > stored)
        return kThumbnailForm;
    std::vector<uint8_t> data(chunk.begin() + 40, chunk.begin() + 40 + ptrdiff_t(stored));
    if (form == 2)
        UnscrambleThumbnail(data, group, mask, stride);
    std::vector<uint8_t> pixels(raw);
    if (pixkitDecompress(data.data(), stored - tail, pixels.data(), raw) != PIXKIT_DECODE_OK)
        return kThumbnailForm;
    out.form = form;
    out.paperWidth = int32_t(U32(chunk, 8));
    out.paperHeight = int32_t(U32(chunk, 12));
    out.width = w;
    out.height = h;
    out.pixels.resize(size_t(w) * size_t(h));
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = U32(pixels, i * 4);
    return kOk;
}

int ReadBlocks(std::span<const uint8_t> file, size_t pos, EventFileContents &out)
{
    const uint32_t length = U32(file, pos + 28), blocks = U32(file, pos + 40), blockSize = U32(file, pos + 44);
    if (blocks == 0)
        return kNoEvents;
    if (blockSize != kBlockBytes)
        return kBlockSize;
    if (uint64_t(blocks) != (uint64_t(length) + kBlockBytes - 1) / kBlockBytes)
        return kBadSize; // the count must be the one the length gives
    pos += 56;
    for (uint32_t i = 0; i < blocks; ++i) {
        if (file.size() - pos < 28)
            return kReadFailed;
        if (!MagicIs(file, pos, "PBEV"))
            return kBadMagic;
        const uint32_t size = U32(file, pos + 4);
        if (size < 20)
            return kBadSize;
        if (uint64_t(size) + 8 > file.size() - pos)
            return kReadFailed;
        const uint32_t offset = U32(file, pos + 8), raw = U32(file, pos + 12), packed = U32(file, pos + 16);
        // In stream order, each block exactly as long as what the stream still lacks allows.
        if (offset != out.stream.size() || raw != std::min<uint64_t>(kBlockBytes, length - uint64_t(offset)) ||
            packed > size - 20)
            return kBlockData;
        out.stream.resize(out.stream.size() + raw);
        if (pixkitDecompress(file.data() + pos + 28, packed, out.stream.data() + offset, raw) != PIXKIT_DECODE_OK)
            return kBlockData;
        pos += size_t(size) + 8;
    }
    out.compressed = true;
    out.blockCount = blocks;
    return kOk;
}

void ReadHeaderFields(std::span<const uint8_t> file, size_t pos, EventFileHeader &header)
{
    header.paperWidth = int32_t(U32(file, pos + 8));
    header.paperHeight = int32_t(U32(file, pos + 12));
    header.generation = U16(file, pos + 16);
    header.flags = U16(file, pos + 18);
    header.stepCount = U32(file, pos + 24);
}

void WriteHeaderFields(Writer &w, const EventFileHeader &h, uint32_t length)
{
    w.U32(uint32_t(h.paperWidth));
    w.U32(uint32_t(h.paperHeight));
    w.U16(std::min(h.generation, kGeneration));
    w.U16(h.flags);
    w.U16(3);
    w.U16(5);
    w.U32(h.stepCount);
    w.U32(length);
    w.U32(0);
    w.U32(0);
}

bool WriteThumbnail(Writer &w, const EventThumbnail &t)
{
    if (t.width < 1 || t.width > kThumbnailSide || t.height < 1 || t.height > kThumbnailSide ||
        t.pixels.size() != size_t(t.width) * size_t(t.height))
        return false;
    std::vector<uint8_t> raw;
    raw.reserve(t.pixels.size() * 4);
    for (uint32_t p : t.pixels)
        for (int i = 0; i < 4; ++i)
            raw.push_back(uint8_t(p >> (8 * i)));
    std::optional<std::vector<uint8_t>> packed = CompressBlock(raw);
    if (!packed)
        return false;
    const bool scrambled = t.form == 2;
    if (scrambled)
        ScrambleThumbnail(*packed, kScrambleGroup, kScrambleMask, kScrambleStride);
    w.Magic("PTNL");
    w.U32(40 + Padded(packed->size()));
    w.U16(scrambled ? 2 : 1);
    w.U16(0);
    for (uint8_t b : {scrambled ? kScrambleGroup : uint8_t(0), scrambled ? kScrambleMask : uint8_t(0),
                      scrambled ? kScrambleStride : uint8_t(0), uint8_t(0)})
        w.bytes.push_back(b);
    for (int32_t v : {t.paperWidth, t.paperHeight, t.width, t.height})
        w.U32(uint32_t(v));
    w.U32(uint32_t(packed->size()));
    w.U32(uint32_t(raw.size()));
    w.U32(0);
    w.U32(0);
    w.Bytes(*packed);
    w.PadTo4();
    return true;
}

} // namespace

void ScrambleThumbnail(std::span<uint8_t> data, uint8_t group, uint8_t mask, uint8_t stride)
{
    ForEachPiece(data, [&](std::span<uint8_t> piece) {
        ReverseGroups(piece, group);
        XorEvery(piece, mask, stride);
    });
}

void UnscrambleThumbnail(std::span<uint8_t> data, uint8_t group, uint8_t mask, uint8_t stride)
{
    ForEachPiece(data, [&](std::span<uint8_t> piece) {
        XorEvery(piece, mask, stride);
        ReverseGroups(piece, group);
    });
}

void ThumbnailSize(int32_t paperWidth, int32_t paperHeight, int32_t &width, int32_t &height)
{
    const int64_t pw = std::max(paperWidth, 1), ph = std::max(paperHeight, 1);
    width = pw >= ph ? kThumbnailSide : int32_t(std::max<int64_t>(1, pw * kThumbnailSide / ph));
    height = pw >= ph ? int32_t(std::max<int64_t>(1, ph * kThumbnailSide / pw)) : kThumbnailSide;
}

namespace {

int ReadContents(std::span<const uint8_t> file, EventFileContents &out, bool withThumbnail)
{
    try {
        size_t pos = 0;
        if (file.size() < 40)
            return kReadFailed;
        if (MagicIs(file, 0, "PTNL")) {
            const uint32_t size = U32(file, 4);
            if (size < 40)
                return kThumbnailForm;
            if (uint64_t(size) + 8 > file.size())
                return kThumbnailPastEnd;
            if (withThumbnail) {
                EventThumbnail thumbnail;
                if (const int code = ReadThumbnail(file.subspan(8, size), thumbnail); code != kOk)
                    return code;
                out.thumbnail = std::move(thumbnail);
            }
            pos = size_t(size) + 8;
            if (file.size() - pos < 40)
                return pos == file.size() ? kThumbnailEnded : kReadFailed;
        }
        if (MagicIs(file, pos, "PEVP")) {
            if (file.size() - pos < 56)
                return kReadFailed;
            if (U32(file, pos + 4) != 48)
                return kBadSize;
            ReadHeaderFields(file, pos, out.header);
            if (out.header.generation > kGeneration)
                return kGenerationTooNew;
            return ReadBlocks(file, pos, out);
        }
        if (MagicIs(file, pos, "PEVS")) {
            const uint32_t size = U32(file, pos + 4);
            ReadHeaderFields(file, pos, out.header);
            if (out.header.generation > kGeneration)
                return kGenerationTooNew;
            if (out.header.flags != 0)
                return kPevsFlags;
            const uint32_t length = U32(file, pos + 28);
            if (size < 32 || size - 32 < length)
                return kBadSize;
            if (uint64_t(length) > file.size() - pos - 40)
                return kPevsShort;
            out.stream.assign(file.begin() + ptrdiff_t(pos + 40), file.begin() + ptrdiff_t(pos + 40 + length));
            return kOk;
        }
        return kBadMagic;
    } catch (const std::bad_alloc &) {
        return kNoMemory;
    }
}

} // namespace

int ReadEventFile(std::span<const uint8_t> file, EventFileContents &out, bool withThumbnail)
{
    out = {};
    const int code = ReadContents(file, out, withThumbnail);
    if (code != kOk)
        out = {}; // never a half-read stream
    return code;
}

std::optional<std::vector<uint8_t>> WriteEventFile(const EventFileHeader &header, std::span<const uint8_t> stream,
                                                   bool compressed, const EventThumbnail *thumbnail, int &code)
{
    code = kOk;
    if (stream.empty()) {
        code = kNoEvents;
        return std::nullopt;
    }
    if (stream.size() > UINT32_MAX - 64 || !WalkStream(stream).valid()) {
        code = kInvalidStream;
        return std::nullopt;
    }
    try {
        Writer w;
        if (thumbnail)
            WriteThumbnail(w, *thumbnail); // a thumbnail that cannot be made does not stop the save
        const uint32_t length = uint32_t(stream.size());
        if (compressed) {
            const uint32_t blocks = uint32_t((uint64_t(length) + kBlockBytes - 1) / kBlockBytes);
            w.Magic("PEVP");
            w.U32(48);
            WriteHeaderFields(w, header, length);
            w.U32(blocks);
            w.U32(kBlockBytes);
            w.U32(0);
            w.U32(0);
            for (uint32_t offset = 0; offset < length; offset += kBlockBytes) {
                const auto piece = stream.subspan(offset, std::min<size_t>(kBlockBytes, length - offset));
                std::optional<std::vector<uint8_t>> packed = CompressBlock(piece);
                if (!packed) {
                    code = kNoMemory;
                    return std::nullopt;
                }
                w.Magic("PBEV");
                w.U32(Padded(packed->size()) + 20);
                w.U32(offset);
                w.U32(uint32_t(piece.size()));
                w.U32(uint32_t(packed->size()));
                w.U32(0);
                w.U32(0);
                w.Bytes(*packed);
                w.PadTo4();
            }
        } else {
            w.Magic("PEVS");
            w.U32(32 + Padded(length));
            EventFileHeader plain = header;
            plain.flags = 0;
            WriteHeaderFields(w, plain, length);
            w.Bytes(stream);
            w.PadTo4();
        }
        return std::move(w.bytes);
    } catch (const std::bad_alloc &) {
        code = kNoMemory;
        return std::nullopt;
    }
}

} // namespace pv::events
