// Payload records that carry pixels: the image record (pasted and loaded images, the floor
// filter's textures) and the compressed coverage channels of fills, text and colour ranges.
#pragma once

#include "events/CommandPayloads.h"
#include "events/PayloadIo.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pv::events {

// The 22-byte image record, then the 72-byte placement block if flagged, the name, the
// pixels (0xAARRGGBB, top row first) and a pad byte to make the total even.
struct ImageRecord {
    static constexpr size_t kExtraSize = 72;
    static constexpr int32_t kMaxSide = 32767;
    uint16_t layer = 0;
    Point size;                // width, height
    uint8_t bitsPerPixel = 32;
    bool hasExtra = false;
    uint8_t extra[kExtraSize] = {}; // the paste placement the operation received
    std::string name;
    std::vector<uint8_t> pixels; // width × height × 4 bytes
    template <class Io> void Fields(Io &io);
};

// The 54-byte channel record: the compressed 8-bit coverage of a fill, text or colour range.
struct ChannelRecord {
    uint16_t layer = 0, selection = 0;
    Point layerSize;
    Point position;     // given by the operation, zero if none
    uint8_t channelKind = 0;
    uint8_t setting1 = 0, setting2 = 0, setting3 = 0;
    uint16_t setting4 = 0;
    Rect area;          // the stored channel area (edge rectangle)
    uint32_t uncompressedSize = 0; // width × height of the area
    std::vector<uint8_t> compressed; // exact compressed bytes, without the pad byte
    template <class Io> void Fields(Io &io);
};

// The 72-byte form with three geometry values.
struct ChannelRecordEx {
    uint16_t layer = 0, selection = 0;
    GeometryValue geometry[3];
    uint8_t channelKind = 0;
    uint8_t setting1 = 0, setting2 = 0, setting3 = 0;
    uint16_t setting4 = 0;
    Rect area;
    uint32_t uncompressedSize = 0;
    std::vector<uint8_t> compressed;
    template <class Io> void Fields(Io &io);
};

// The three sizes that close both channel records, and the compressed bytes after them.
template <class Io> void ChannelBytes(Io &io, uint32_t &uncompressedSize, std::vector<uint8_t> &compressed)
{
    uint32_t exact = static_cast<uint32_t>(compressed.size());
    uint32_t stored = (exact + 1) & ~1u;
    if constexpr (Io::kWriting)
        if (compressed.size() > 0xFFFFFFF0u)
            return io.Fail();
    io(stored), io(uncompressedSize), io(exact);
    if constexpr (!Io::kWriting)
        if (exact > stored)
            return io.Fail();
    io.Bytes(compressed, exact);
    io.Skip(stored - exact);
}

template <class Io> void ChannelRecord::Fields(Io &io)
{
    io(layer), io(selection), io(layerSize), io(position);
    io(channelKind), io(setting1), io(setting2), io(setting3), io(setting4), io(area);
    ChannelBytes(io, uncompressedSize, compressed);
}

template <class Io> void ChannelRecordEx::Fields(Io &io)
{
    io(layer), io(selection);
    for (GeometryValue &g : geometry)
        g.Fields(io);
    io.Zero(8);
    io(channelKind), io(setting1), io(setting2), io(setting3), io(setting4), io.Zero(2), io(area);
    ChannelBytes(io, uncompressedSize, compressed);
}

template <class Io> void ImageRecord::Fields(Io &io)
{
    uint8_t extraFlag = hasExtra ? 1 : 0;
    uint16_t nameLength = 0;
    uint32_t pixelBytes = static_cast<uint32_t>(pixels.size());
    uint32_t total = 0;
    if constexpr (Io::kWriting) {
        if (size.x < 0 || size.y < 0 || size.x > kMaxSide || size.y > kMaxSide ||
            pixels.size() != uint64_t(size.x) * uint64_t(size.y) * 4)
            return io.Fail();
        std::vector<uint8_t> probe;
        PayloadWriter nameWriter(probe);
        if (!name.empty())
            nameWriter.CountedText16(name);
        nameLength = probe.empty() ? 0 : static_cast<uint16_t>(probe.size() - 2);
        const uint64_t sum = (hasExtra ? kExtraSize : 0) + uint64_t{nameLength} + pixels.size();
        if (sum > 0xFFFFFFF0u)
            return io.Fail();
        total = static_cast<uint32_t>((sum + 1) & ~uint64_t{1});
    }
    const size_t start = io.position();
    io(layer), io(size), io(bitsPerPixel), io(extraFlag), io(total), io(nameLength), io(pixelBytes);
    if constexpr (!Io::kWriting) {
        hasExtra = extraFlag == 1;
        const uint64_t expected = uint64_t(size.x) * uint64_t(size.y) * 4;
        const uint64_t parts = (hasExtra ? kExtraSize : 0) + uint64_t{nameLength} + pixelBytes;
        if (!io.ok() || size.x < 0 || size.y < 0 || size.x > kMaxSide || size.y > kMaxSide ||
            bitsPerPixel != 32 || extraFlag > 1 || pixelBytes != expected || parts > total)
            return io.Fail();
    }
    if (hasExtra)
        io(extra);
    if (nameLength > 0)
        io.Text(name, nameLength);
    io.Bytes(pixels, pixelBytes);
    const size_t used = io.position() - start - 22;
    io.Skip(total - used);
}

} // namespace pv::events
