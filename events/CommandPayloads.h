// Payload records of the command packets: paper (group 2), layer (4), selection image (6),
// selection (10), strokes (16..24) and filters (32..38). Layer and selection numbers are
// indices into the paper's lists at the moment the packet is applied.
#pragma once

#include "events/PayloadIo.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pv::events {

struct EmptyRecord {
    template <class Io> void Fields(Io &) {}
};

// The 4-byte packets: a layer or selection index and a second index or value.
struct IndexPairRecord {
    uint16_t first = 0;
    uint16_t second = 0;
    template <class Io> void Fields(Io &io) { io(first), io(second); }
};

// The 12-byte packets with two indices and two 32-bit values.
struct IndexPairValuesRecord {
    uint16_t first = 0;
    uint16_t second = 0;
    int32_t value1 = 0;
    int32_t value2 = 0;
    template <class Io> void Fields(Io &io) { io(first), io(second), io(value1), io(value2); }
};

// ---- group 2, Paper

struct NewPaperV2Record {
    int32_t paperWidth = 0, paperHeight = 0, resolution = 0, layerHeight = 0;
    template <class Io> void Fields(Io &io) { io(paperWidth), io(paperHeight), io(resolution), io(layerHeight); }
};

struct NewPaperRecord {
    int32_t paperWidth = 0, paperHeight = 0, resolution = 0, layerHeight = 0, layerWidth = 0;
    template <class Io> void Fields(Io &io)
    {
        io(paperWidth), io(paperHeight), io(resolution), io(layerHeight), io(layerWidth), io.Zero(8);
    }
};

struct PaperColourValueRecord {
    uint32_t colour = 0;
    template <class Io> void Fields(Io &io) { io(colour); }
};

struct ResizeCanvasRecord {
    uint8_t anchor = 0;      // where the old image lies in the new canvas
    uint8_t layerOption = 0;
    int32_t width = 0, height = 0;
    template <class Io> void Fields(Io &io) { io(anchor), io(layerOption), io(width), io(height); }
};

// ResizeImage and ChangeResolution.
struct ResampleRecord {
    uint16_t option = 0;
    int32_t width = 0, height = 0;
    template <class Io> void Fields(Io &io) { io(option), io(width), io(height); }
};

struct CropRecord {
    uint16_t layer = 0;
    Rect rect;
    template <class Io> void Fields(Io &io) { io(layer), io(rect); }
};

// ---- group 4, Layer

namespace layer_flags {
constexpr uint16_t kVisible = 1 << 0;
constexpr uint16_t kProtection = 1 << 1;
constexpr uint16_t kDither = 1 << 4;
} // namespace layer_flags

struct NewLayerRecord {
    uint16_t index = 0;
    int32_t width = 0, height = 0;
    uint8_t blendMode = 3;
    uint8_t opacity = 255;
    uint16_t flags = layer_flags::kVisible;
    template <class Io> void Fields(Io &io) { io(index), io(width), io(height), io(blendMode), io(opacity), io(flags); }
};

// MoveLayer (two zero options, dx and dy) and TransformLayer (the rebuild's options and values).
struct LayerOptionValuesRecord {
    uint16_t layer = 0;
    uint8_t option1 = 0, option2 = 0;
    int32_t value1 = 0, value2 = 0;
    template <class Io> void Fields(Io &io) { io(layer), io(option1), io(option2), io(value1), io(value2); }
};

struct NewLayerNamedRecord {
    uint16_t index = 0;
    int32_t width = 0, height = 0;
    uint8_t blendMode = 3;
    uint8_t opacity = 255;
    uint16_t flags = layer_flags::kVisible;
    uint32_t fillColour = 0; // a pixel value 0xAARRGGBB
    std::string name;
    template <class Io> void Fields(Io &io)
    {
        io(index), io(width), io(height), io.Zero(8), io(blendMode), io(opacity), io(flags);
        io(fillColour), io.Zero(14), io.CountedText16(name);
    }
};

struct LayerSelectionMoveRecord {
    uint16_t layer = 0, selection = 0;
    Point offset;
    template <class Io> void Fields(Io &io) { io(layer), io(selection), io(offset), io.Zero(8); }
};

struct LayerSelectionTransformRecord {
    uint16_t layer = 0, selection = 0;
    Point point;
    uint16_t option = 0;
    template <class Io> void Fields(Io &io) { io(layer), io(selection), io(point), io(option), io.Zero(6); }
};

// The layer's attributes with the one named by the code replaced by its new value.
struct LayerAttrRecord {
    uint16_t layer = 0;
    uint8_t blendMode = 3;
    uint8_t opacity = 255;
    uint16_t flags = layer_flags::kVisible;
    template <class Io> void Fields(Io &io) { io(layer), io(blendMode), io(opacity), io(flags); }
};

struct LayerDitherRecord {
    LayerAttrRecord attr;
    uint8_t ditherAmount = 0;
    int32_t ditherSeed = 0;
    template <class Io> void Fields(Io &io)
    {
        attr.Fields(io), io(ditherAmount), io.Zero(1), io(ditherSeed), io.Zero(4), io.Zero(2);
    }
};

// RenameLayer and RenameSelection.
struct RenameRecord {
    uint16_t index = 0;
    std::string name;
    template <class Io> void Fields(Io &io) { io(index), io.CountedText16(name); }
};

// ---- group 6, SelectionImage, and group 10, Selection

// Eight bytes whose meaning is the operation's: an int32 point or a pair of float32.
struct GeometryValue {
    uint8_t bytes[8] = {};
    Point AsPoint() const;
    std::array<float, 2> AsFloats() const;
    static GeometryValue FromPoint(Point p);
    static GeometryValue FromFloats(float a, float b);
    template <class Io> void Fields(Io &io) { io(bytes); }
};

struct SelectionImageRecord {
    uint16_t layer = 0;
    int32_t value = 0; // the colour for FillSelectionColor, else 0
    GeometryValue a, b;
    template <class Io> void Fields(Io &io) { io(layer), io(value), a.Fields(io), b.Fields(io); }
};

// Points behind a uint16 count, as in FillPolygon and SelectPolygon.
template <class Io> void CountedPoints(Io &io, std::vector<Point> &points)
{
    uint16_t n = static_cast<uint16_t>(points.size());
    if constexpr (Io::kWriting)
        if (points.size() > 0xFFFF)
            return io.Fail();
    io(n);
    if constexpr (!Io::kWriting) {
        if (io.remaining() < 8u * n)
            return io.Fail();
        points.resize(n);
    }
    for (Point &p : points)
        io(p);
}

struct FillPolygonRecord {
    uint16_t layer = 0;
    std::vector<Point> points;
    template <class Io> void Fields(Io &io) { io(layer), CountedPoints(io, points); }
};

struct SelectShapeRecord {
    uint16_t layer = 0, selection = 0;
    uint8_t option = 0;
    GeometryValue a, b;
    template <class Io> void Fields(Io &io) { io(layer), io(selection), io(option), io.Zero(1), a.Fields(io), b.Fields(io); }
};

struct SelectPolygonRecord {
    uint16_t layer = 0, selection = 0;
    uint8_t option = 0;
    std::vector<Point> points;
    template <class Io> void Fields(Io &io) { io(layer), io(selection), io(option), io.Zero(1), CountedPoints(io, points); }
};

// ---- strokes

struct StrokeBeginRecord {
    uint16_t layer = 0;     // the pen's target layer
    uint16_t selection = 0; // the current selection
    template <class Io> void Fields(Io &io) { io(layer), io(selection); }
};

struct StrokeSample {
    float x = 0, y = 0, pressure = 0;
    bool operator==(const StrokeSample &) const = default;
};

// The samples of a StrokePoints or StrokeEnd packet; the packet's code is their count.
struct StrokeSamplesRecord {
    static constexpr size_t kMaxSamples = 16;
    std::vector<StrokeSample> samples;
    template <class Io> void Fields(Io &io)
    {
        if constexpr (!Io::kWriting)
            samples.resize(io.remaining() / 12);
        for (StrokeSample &s : samples)
            io(s.x), io(s.y), io(s.pressure);
    }
};

// ---- filters: layer, selection, then the filter's own arguments (integers or float32).

template <size_t N> struct FilterArgsRecord {
    uint16_t layer = 0, selection = 0;
    std::array<uint32_t, N> args{};
    template <class Io> void Fields(Io &io)
    {
        io(layer), io(selection);
        for (uint32_t &a : args)
            io(a);
    }
};
using FilterArgs0Record = FilterArgsRecord<0>;
using FilterArgs2Record = FilterArgsRecord<2>;
using FilterArgs4Record = FilterArgsRecord<4>;
using FilterArgs6Record = FilterArgsRecord<6>;

// The 50-byte filter record (layer, selection, the byte count of the variable part, then the
// filter's settings) followed by the variable part (the light or floor record).
struct FilterRecordRecord {
    uint16_t layer = 0, selection = 0;
    uint8_t settings[44] = {};
    std::vector<uint8_t> data;
    template <class Io> void Fields(Io &io)
    {
        uint16_t n = static_cast<uint16_t>(data.size());
        if constexpr (Io::kWriting)
            if (data.size() > 0xFFFF)
                return io.Fail();
        io(layer), io(selection), io(n), io(settings), io.Bytes(data, n);
    }
};

} // namespace pv::events
