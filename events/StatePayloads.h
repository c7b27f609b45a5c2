// Payload records of the state packets (group 0) and the information packets (group 1):
// the settings that the following operation depends on.
#pragma once

#include "events/PayloadIo.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pv::events {

constexpr uint16_t kStreamMajor = 3;
constexpr uint16_t kStreamMinor = 5;
constexpr int kVersionWithoutAppStatus = 200;

struct AppStatusRecord {
    uint16_t major = kStreamMajor;
    uint16_t minor = kStreamMinor;
    uint16_t extensionFlags = 0; // a reader rejects any other value
    int Version() const { return major * 100 + minor; }
    template <class Io> void Fields(Io &io) { io(major), io(minor), io(extensionFlags), io.Zero(6); }
};

// A colour value 0x00BBGGRR stored as R, G, B and a 0 byte.
struct ColourRecord {
    uint32_t colour = 0;
    template <class Io> void Fields(Io &io) { io.Colour3(colour), io.Zero(1); }
};

struct GradationPointsRecord {
    Point start, end;
    template <class Io> void Fields(Io &io) { io(start), io(end); }
};

// Shape, mirror, wrap and repeat of the gradation; colourBytes is 0 in GradationForm and the
// byte size of the colour slots that follow in GradationColors.
struct GradationFormRecord {
    uint8_t shape = 0;  // 0..2
    uint8_t mirror = 0; // 0 or 1
    uint8_t wrap = 0;   // 0 or 1
    uint16_t repeat = 1;
    uint16_t colourBytes = 0;
    template <class Io> void Fields(Io &io)
    {
        io(shape), io(mirror), io(wrap), io.Zero(1), io(repeat), io(colourBytes), io.Zero(4);
    }
};

struct CurrentRecord {
    static constexpr uint16_t kKeep = 0xFFFF; // leave the current layer or selection as it is
    uint16_t layer = 0;
    uint16_t selection = 0;
    template <class Io> void Fields(Io &io) { io(layer), io(selection); }
};

// PaperFlags and PenFlags.
struct FlagsRecord {
    uint16_t flags = 0;
    template <class Io> void Fields(Io &io) { io(flags); }
};

namespace paper_flags {
constexpr uint16_t kSelectionEnabled = 1 << 0;
constexpr uint16_t kUseTone = 1 << 1;
constexpr uint16_t kLayerProtection = 1 << 2; // streams below version 206 only
constexpr uint16_t kUseGradation = 1 << 3;
constexpr uint16_t kSealed = 1 << 15;
} // namespace paper_flags

namespace pen_flags {
constexpr uint16_t kSizeByPressure = 1 << 0;
constexpr uint16_t kOpacityByPressure = 1 << 1;
constexpr uint16_t kSmoothEdge = 1 << 2;
} // namespace pen_flags

struct PenColorRecord {
    uint32_t color = 0; // 0x00BBGGRR
    uint8_t kind = 0;
    float density = 0;  // the effective density
    template <class Io> void Fields(Io &io) { io.Colour3(color), io(kind), io(density); }
};

struct PenSizeRecord {
    float maxRadius = 0;
    float minSize = 0;
    template <class Io> void Fields(Io &io) { io(maxRadius), io(minSize); }
};

struct PenParamsRecord {
    float effect = 0, env = 0, speed = 0, gamma = 0;
    float spacing = 0.02f; // the effective interval, at least 0.02
    uint8_t airMap = 0;
    template <class Io> void Fields(Io &io)
    {
        io(effect), io(env), io(speed), io(gamma), io(spacing), io(airMap), io.Zero(1);
    }
};

// The 60-byte font record of the files and streams (the fields of a Windows LOGFONTA).
struct LogFontRecord {
    int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::string faceName; // at most 31 bytes in the file
    template <class Io> void Fields(Io &io)
    {
        io(height), io(width), io(escapement), io(orientation), io(weight);
        io(italic), io(underline), io(strikeOut), io(charSet);
        io(outPrecision), io(clipPrecision), io(quality), io(pitchAndFamily);
        io.FixedText(faceName, 32, true);
    }
};

struct FontRecord {
    LogFontRecord font;
    int16_t charSpacing = 0; // "字間(&S)"
    int16_t lineSpacing = 0; // "行間(&L)"
    template <class Io> void Fields(Io &io) { font.Fields(io), io(charSpacing), io(lineSpacing), io.Zero(4); }
};

// The text for the next text operation; also the name field of rename packets.
struct TextRecord {
    std::string text;
    template <class Io> void Fields(Io &io) { io.CountedText16(text); }
};

// A tone pattern definition: the 160-byte record and the compressed pattern bytes.
struct ToneDefineRecord {
    uint32_t patternId = 0;
    uint8_t reserved4[8] = {};
    uint16_t bitsPerPixel = 8;
    uint16_t patternType = 0; // 0 bitmap pattern, 1 generated screen tone
    uint16_t nameLength = 0;  // bytes of the name as stored
    uint8_t reserved18[2] = {};
    uint32_t flags = 0;       // bit 1: the pattern's option flag
    int32_t third = 0, first = 0, second = 0;
    int32_t width = 0, height = 0;
    uint8_t reserved44[40] = {};
    std::string name;         // at most 64 bytes in the file, not NUL-terminated there
    uint32_t uncompressedSize = 0;
    std::vector<uint8_t> compressed; // the exact compressed bytes (without the pad byte)

    static constexpr uint32_t kOptionFlag = 1 << 1;
    template <class Io> void Fields(Io &io);
};

struct ToneAttrRecord {
    uint32_t patternId = 0;
    uint8_t patternType = 0;
    uint8_t flags = 0;      // bit 0 option flag, bit 1 set for type 1
    uint32_t ownValue = 0;  // the generated tone's own value for type 1, else 0
    uint16_t third = 0;
    int32_t first = 0, second = 0;
    template <class Io> void Fields(Io &io)
    {
        io(patternId), io(patternType), io(flags), io(ownValue), io(third), io(first), io(second);
    }
};

// The gradation form followed by its colour slots of 24 bytes each.
struct GradationColorsRecord {
    static constexpr size_t kSlotSize = 24;
    GradationFormRecord form;
    std::vector<uint8_t> slots;
    template <class Io> void Fields(Io &io)
    {
        if constexpr (Io::kWriting) {
            if (slots.size() > 0xFFFF)
                return io.Fail();
            form.colourBytes = static_cast<uint16_t>(slots.size());
        }
        form.Fields(io);
        io.Bytes(slots, form.colourBytes);
    }
};

// One colour of a colour-range selection: the picked pixel (0xAARRGGBB), add or subtract,
// and the range.
struct ColorRangeEntry {
    uint32_t colour = 0;
    uint8_t add = 1;
    uint8_t range = 0;
    template <class Io> void Fields(Io &io) { io(colour), io(add), io(range), io.Zero(2); }
};

// The 20-byte colour-range record and its entries, behind a uint32 byte count.
struct ColorRangeRecord {
    static constexpr uint32_t kMaxEntries = 256;
    uint32_t target = 0; // 0 the active layer, 1 the displayed image
    std::vector<ColorRangeEntry> entries;
    template <class Io> void Fields(Io &io);
};

// An information record; RecordTime (code 17) holds a 16-byte SystemTime.
struct InfoRecord {
    std::vector<uint8_t> data;
    template <class Io> void Fields(Io &io)
    {
        uint32_t n = static_cast<uint32_t>(data.size());
        io(n);
        io.Bytes(data, n);
    }
};

// The UTC time at which a recording started (the fields of a Windows SYSTEMTIME).
struct SystemTime {
    uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
    template <class Io> void Fields(Io &io)
    {
        io(year), io(month), io(dayOfWeek), io(day), io(hour), io(minute), io(second), io(milliseconds);
    }
};

template <class Io> void ToneDefineRecord::Fields(Io &io)
{
    uint8_t nameBytes[64] = {};
    uint32_t compressedSize = static_cast<uint32_t>(compressed.size());
    uint32_t storedSize = (compressedSize + 1) & ~1u;
    if constexpr (Io::kWriting) {
        if (compressed.size() > 0xFFFFFFF0u)
            return io.Fail();
        std::vector<uint8_t> encoded;
        PayloadWriter nameWriter(encoded);
        nameWriter.FixedText(name, 64);
        std::copy(encoded.begin(), encoded.end(), nameBytes);
        nameLength = static_cast<uint16_t>(std::find(nameBytes, nameBytes + 64, 0) - nameBytes);
    }
    io(patternId), io(reserved4), io(bitsPerPixel), io(patternType), io(nameLength), io(reserved18);
    io(flags), io(third), io(first), io(second), io(width), io(height), io(reserved44);
    io(nameBytes);
    io(uncompressedSize), io(compressedSize), io(storedSize);
    if constexpr (Io::kWriting) {
        io.Bytes(compressed, compressedSize);
        io.Zero(storedSize - compressedSize);
    } else {
        if (compressedSize > storedSize)
            return io.Fail();
        PayloadReader nameReader({nameBytes, std::min<size_t>(nameLength, 64)});
        nameReader.Text(name, std::min<size_t>(nameLength, 64));
        io.Bytes(compressed, compressedSize);
        io.Skip(storedSize - compressedSize);
    }
}

template <class Io> void ColorRangeRecord::Fields(Io &io)
{
    uint32_t byteCount = static_cast<uint32_t>(20 + 8 * entries.size());
    uint32_t entryCount = static_cast<uint32_t>(entries.size());
    if constexpr (Io::kWriting)
        if (entries.size() > kMaxEntries)
            return io.Fail();
    io(byteCount), io(entryCount), io(target), io.Zero(12);
    if constexpr (!Io::kWriting) {
        if (entryCount > kMaxEntries || byteCount != 20 + 8 * uint64_t{entryCount})
            return io.Fail();
        entries.resize(entryCount);
    }
    for (ColorRangeEntry &entry : entries)
        entry.Fields(io);
}

} // namespace pv::events
