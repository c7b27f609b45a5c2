// Packets that carry pixels: images (pasted, loaded, floor textures) written top row first
// straight from the image's row table, so bottom-up images need no flipping and the image
// is never touched; and coverage channels cut to their box of non-zero values and compressed.
// Text and colour-range selections are channel packets behind their own state packets.
#include "events/CEventMngr.h"

#include "events/BlockCompress.h"
#include "platform/TextCodec.h"
#include "raster/TChannel.h"
#include "raster/TMTC.h"

#include <array>
#include <optional>

namespace pv::events {
namespace {

struct ChannelCode {
    uint8_t code;
    uint8_t kind;
    bool selects; // the coverage becomes the selection, so an empty one is still a change
    bool extended;
};

constexpr ChannelCode kChannelCodes[] = {
    {0, 0, false, false}, {1, 1, true, false},   {2, 4, false, true},  {3, 5, true, true},
    {16, 2, false, false}, {17, 3, false, false}, {32, 6, true, false},
};

const ChannelCode *FindChannelCode(uint8_t code)
{
    for (const ChannelCode &c : kChannelCodes)
        if (c.code == code)
            return &c;
    return nullptr;
}

// The coverage inside its box of non-zero values, row after row, and the box.
struct CutChannel {
    Rect area;
    std::vector<uint8_t> bytes;
};

std::optional<CutChannel> CutToContent(const TChannel &coverage)
{
    SEdgeRect box;
    if (!coverage.BoundingBox(box))
        return std::nullopt;
    CutChannel cut;
    cut.area = {box.left, box.top, box.right, box.bottom};
    const size_t width = size_t(box.right - box.left);
    cut.bytes.reserve(width * size_t(box.bottom - box.top));
    for (int32_t y = box.top; y < box.bottom; ++y) {
        const uint8_t *row = coverage.Row(y) + box.left;
        cut.bytes.insert(cut.bytes.end(), row, row + width);
    }
    return cut;
}

template <class Record> void FillChannelRecord(Record &record, const ChannelCode &c, const ChannelFillArgs &args)
{
    record.layer = args.layer;
    record.channelKind = c.kind;
    record.setting1 = args.setting1;
    record.setting2 = args.setting2;
    record.setting3 = args.setting3;
    record.setting4 = args.setting4;
}

} // namespace

bool CEventMngr::WriteChannelPacket(uint8_t code, const ChannelFillArgs &args, const TChannel &coverage)
{
    const ChannelCode *c = FindChannelCode(code);
    if (!c)
        return false;
    std::optional<CutChannel> cut = CutToContent(coverage);
    if (!cut)
        cut.emplace();
    auto compressed = CompressBlock(cut->bytes);
    if (!compressed)
        return false;
    const uint32_t uncompressed = static_cast<uint32_t>(cut->bytes.size());
    const uint8_t group = static_cast<uint8_t>(PacketGroup::ChannelFill);
    if (c->extended) {
        ChannelRecordEx record;
        FillChannelRecord(record, *c, args);
        record.selection = paper_.ActiveSelectionIndex();
        std::copy(std::begin(args.geometry), std::end(args.geometry), record.geometry);
        record.area = cut->area;
        record.uncompressedSize = uncompressed;
        record.compressed = std::move(*compressed);
        return WriteRecord(group, code, record);
    }
    ChannelRecord record;
    FillChannelRecord(record, *c, args);
    record.selection = paper_.ActiveSelectionIndex();
    record.layerSize = args.layerSize;
    record.position = args.position;
    record.area = cut->area;
    record.uncompressedSize = uncompressed;
    record.compressed = std::move(*compressed);
    return WriteRecord(group, code, record);
}

// An empty paint coverage changes nothing and is not recorded; an empty selection is.
static bool NothingToRecord(uint8_t code, const TChannel &coverage)
{
    const ChannelCode *c = FindChannelCode(code);
    SEdgeRect box;
    return c && !c->selects && !coverage.BoundingBox(box);
}

bool CEventMngr::RecordChannelFill(uint8_t code, const ChannelFillArgs &args, const TChannel &coverage)
{
    if (NothingToRecord(code, coverage))
        return true;
    return Guarded([&] {
        if (code == 16 || code == 17 || code == 32 || !WritePenPrefix() || !WriteChannelPacket(code, args, coverage))
            return false;
        CommitStep();
        return true;
    });
}

bool CEventMngr::RecordText(uint8_t code, const FontRecord &font, const std::string &text,
                            const ChannelFillArgs &args, const TChannel &coverage)
{
    if ((code == 16 || code == 17) && NothingToRecord(code, coverage))
        return true;
    return Guarded([&] {
        if ((code != 16 && code != 17) || !WritePenPrefix() ||
            !WriteState(PacketId::Font, StateKind::Font, font) ||
            !WriteState(PacketId::Text, StateKind::Text, TextRecord{text}) ||
            !WriteChannelPacket(code, args, coverage))
            return false;
        CommitStep();
        return true;
    });
}

bool CEventMngr::RecordColorRange(const ColorRangeRecord &range, const ChannelFillArgs &args,
                                  const TChannel &selection)
{
    return Guarded([&] {
        const uint8_t code = CodeOf(PacketId::ColorRangeSelect);
        if (!WritePenPrefix() || !WriteRecord(PacketId::ColorRange, range) ||
            !WriteChannelPacket(code, args, selection))
            return false;
        CommitStep();
        return true;
    });
}

bool CEventMngr::WriteImagePacket(uint8_t group, uint8_t code, uint16_t layer, const TMTC &image,
                                  const uint8_t *extra, const std::string &name)
{
    const int32_t width = image.IsValid() ? image.Width() : 0;
    const int32_t height = image.IsValid() ? image.Height() : 0;
    std::string nameBytes = Utf8ToCp932(name);
    const uint32_t nameLength = name.empty() ? 0 : TextFieldSize(nameBytes.size());
    const uint64_t pixelBytes = uint64_t(width) * uint64_t(height) * 4;
    const uint64_t sum = (extra ? ImageRecord::kExtraSize : 0) + nameLength + pixelBytes;
    if (nameLength > 0xFFFF || sum > 0xFFFFFFF0u)
        return false;
    nameBytes.resize(nameLength, '\0');

    std::vector<uint8_t> head{group, code};
    PayloadWriter writer(head);
    const uint8_t bits = 32, extraFlag = extra ? 1 : 0;
    writer(layer), writer(Point{width, height}), writer(bits), writer(extraFlag);
    writer(static_cast<uint32_t>((sum + 1) & ~uint64_t{1})), writer(static_cast<uint16_t>(nameLength));
    writer(static_cast<uint32_t>(pixelBytes));

    static constexpr uint8_t kPad[1] = {0};
    std::vector<std::span<const uint8_t>> parts;
    parts.reserve(size_t(height) + 4);
    parts.push_back(head);
    if (extra)
        parts.push_back({extra, ImageRecord::kExtraSize});
    parts.push_back({reinterpret_cast<const uint8_t *>(nameBytes.data()), nameBytes.size()});
    for (int32_t y = 0; y < height; ++y)
        parts.push_back({image.Row(y), size_t(width) * 4});
    if (sum % 2)
        parts.push_back(kPad);
    return WriteParts(parts);
}

bool CEventMngr::RecordImage(PacketId id, uint16_t layer, const TMTC &image, const uint8_t *extra,
                             const std::string &name)
{
    return Guarded([&] {
        if (GroupOf(id) != static_cast<uint8_t>(PacketGroup::LayerImage) || !WriteDocumentPrefix() ||
            !WriteImagePacket(GroupOf(id), CodeOf(id), layer, image, extra, name))
            return false;
        CommitStep();
        return true;
    });
}

bool CEventMngr::RecordFloorFilter(const FilterRecordRecord &record, const FloorTexture *textureA,
                                   const FloorTexture *textureB)
{
    return Guarded([&] {
        const uint8_t state = static_cast<uint8_t>(PacketGroup::State);
        if (!WritePenPrefix() ||
            (textureA && !WriteImagePacket(state, CodeOf(PacketId::ImageA), record.layer, textureA->image, nullptr,
                                           textureA->name)) ||
            (textureB && !WriteImagePacket(state, CodeOf(PacketId::ImageB), record.layer, textureB->image, nullptr,
                                           textureB->name)) ||
            !WriteRecord(PacketId::FilterFloor, record))
            return false;
        CommitStep();
        return true;
    });
}

} // namespace pv::events
