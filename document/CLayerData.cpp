// The layer: its image, thumbnail, attributes and the ways it is drawn.
#include "document/CLayerData.h"

#include "document/CUndoMngr.h"
#include "platform/Clock.h"
#include "raster/ColourCopies.h"
#include "raster/Dither.h"
#include "raster/ImageDrivers.h"
#include "raster/SLayerParam.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace pv {
namespace {

std::atomic<int32_t> gNextSerial{0};

} // namespace

CLayerData::CLayerData(int32_t index, bool withUndo)
    : index(index), serial(gNextSerial++), random(SeededRandomRecord(MillisecondClock(), 0, 255))
{
    if (withUndo) {
        undo_ = std::make_unique<CUndoMngr>();
        undo_->Create(8, 8);
    }
}

CLayerData::~CLayerData() = default;

void CLayerData::DropUndo() { undo_.reset(); }
bool CLayerData::CanUndo() const { return undo_ && undo_->CanUndo(); }
bool CLayerData::CanRedo() const { return undo_ && undo_->CanRedo(); }
int64_t CLayerData::UndoMemory() const { return undo_ ? undo_->MemoryUsed() : 0; }

void CLayerData::ReleaseImage()
{
    visible = false;
    image_.reset();
    thumbnail_.Clear();
    if (undo_)
        undo_->ClearAll();
}

bool CLayerData::CreateImage(int32_t width, int32_t height, int mode, int32_t thumbBoxW, int32_t thumbBoxH)
{
    ReleaseImage();
    auto image = std::unique_ptr<CBlockVMTC>(new (std::nothrow) CBlockVMTC(width, height));
    if (!image || !image->IsValid())
        return false;
    image_ = std::move(image);
    offsetX = offsetY = 0;
    paperWidth = width;
    paperHeight = height;
    visible = true;
    protectTransparency = false;
    opacity = 255;
    blendMode = uint8_t(mode);
    image_->SetEveryTile(LayerParam(mode).fillColour);
    FitThumbnail(thumbBoxW, thumbBoxH);
    return true;
}

bool CLayerData::CreateAsCopyOf(const CLayerData &other)
{
    if (!other.image_ || !CreateImage(other.image_->Width(), other.image_->Height(), other.Mode()))
        return false;
    return CopyFrom(other);
}

bool CLayerData::CopyFrom(const CLayerData &other)
{
    if (!image_ || !other.image_ || !image_->CopyAllTiles(*other.image_))
        return false;
    if (thumbnail_.IsValid() && other.thumbnail_.IsValid())
        DrawWithWeight(other.thumbnail_, thumbnail_, {0, 0}, 255, {0, 0, other.thumbnail_.Width(), other.thumbnail_.Height()});
    CopyAttributes(other);
    offsetX = other.offsetX;
    offsetY = other.offsetY;
    paperWidth = other.paperWidth;
    paperHeight = other.paperHeight;
    if (undo_ && other.undo_)
        return undo_->Assign(*other.undo_);
    return true;
}

void CLayerData::CopyAttributes(const CLayerData &other)
{
    name = other.name;
    visible = other.visible;
    opacity = other.opacity;
    protectTransparency = other.protectTransparency;
    blendMode = other.blendMode;
    ditherAmount = other.ditherAmount;
    dither = other.dither;
    random = other.random;
}

void CLayerData::FitThumbnail(int32_t boxWidth, int32_t boxHeight)
{
    if (paperWidth <= 0 || paperHeight <= 0)
        return;
    int32_t w, h;
    if (paperHeight < paperWidth) {
        w = boxWidth;
        h = std::max<int32_t>(int32_t(int64_t(boxWidth) * paperHeight / paperWidth), 1);
    } else {
        h = boxHeight;
        w = std::max<int32_t>(int32_t(int64_t(boxHeight) * paperWidth / paperHeight), 1);
    }
    if (thumbnail_.Resize(w, h))
        thumbnail_.Fill(0x00FFFFFF);
}

void CLayerData::UpdateThumbnail()
{
    if (image_ && thumbnail_.IsValid())
        image_->ReduceInto(thumbnail_, {0, 0, thumbnail_.Width(), thumbnail_.Height()},
                           {offsetX, offsetY, paperWidth, paperHeight});
}

void CLayerData::UpdateThumbnail(SExtent part, SEdgeRect paperRect)
{
    if (image_ && thumbnail_.IsValid() && ClipToImage(part, thumbnail_.Width(), thumbnail_.Height()))
        image_->ReduceInto(thumbnail_, part,
                           {paperRect.left + offsetX, paperRect.top + offsetY, paperRect.right - paperRect.left,
                            paperRect.bottom - paperRect.top});
}

bool CLayerData::OffsetsInRange(bool clamp)
{
    if (!image_)
        return false;
    const int32_t maxX = image_->Width() - paperWidth, maxY = image_->Height() - paperHeight;
    const bool inRange = offsetX >= 0 && offsetX <= maxX && offsetY >= 0 && offsetY <= maxY;
    if (clamp) {
        offsetX = std::clamp(offsetX, 0, std::max(maxX, 0));
        offsetY = std::clamp(offsetY, 0, std::max(maxY, 0));
    }
    return inRange;
}

bool CLayerData::HasHiddenArea() const
{
    return image_ && (image_->Width() > paperWidth || image_->Height() > paperHeight);
}

SEdgeRect CLayerData::ImageRectOnPaper() const
{
    if (!image_)
        return {};
    return {-offsetX, -offsetY, image_->Width() - offsetX, image_->Height() - offsetY};
}

std::unique_ptr<CLayerData> CLayerData::ResizedCopy(int32_t newWidth, int32_t newHeight, SPoint shift) const
{
    if (!image_)
        return nullptr;
    auto copy = std::unique_ptr<CLayerData>(new (std::nothrow) CLayerData(index, WithUndo()));
    if (!copy || !copy->CreateImage(newWidth, newHeight, Mode()))
        return nullptr;
    copy->CopyAttributes(*this);
    copy->offsetX = offsetX + shift.x;
    copy->offsetY = offsetY + shift.y;
    copy->paperWidth = paperWidth;
    copy->paperHeight = paperHeight;
    copy->image_->CopyFrom(*image_, shift, {0, 0, image_->Width(), image_->Height()});
    return copy;
}

void CLayerData::SetAlphaOfWholeImage(uint8_t alpha)
{
    if (image_)
        image_->SetAlpha({0, 0, image_->Width(), image_->Height()}, alpha);
}

void CLayerData::ResetColourToModeFill()
{
    if (image_)
        image_->SetColour({0, 0, image_->Width(), image_->Height()}, LayerParam(Mode()).fillColour);
}

std::unique_ptr<CBlockVMTC> CLayerData::SwapImage(std::unique_ptr<CBlockVMTC> image)
{
    std::swap(image, image_);
    return image;
}

void CLayerData::SetOpacity(uint8_t value)
{
    if (value != opacity) {
        opacity = value;
        MarkAllTilesChanged();
    }
}

void CLayerData::SetBlendMode(uint8_t mode)
{
    if (mode != blendMode) {
        blendMode = mode;
        MarkAllTilesChanged();
    }
}

void CLayerData::SetVisible(bool value)
{
    if (value != visible) {
        visible = value;
        MarkAllTilesChanged();
    }
}

void CLayerData::SetDither(bool on, uint8_t amount, const SRandomRecord &state)
{
    dither = on;
    ditherAmount = amount;
    random = state;
    MarkAllTilesChanged();
}

void CLayerData::MarkAllTilesChanged()
{
    if (!image_)
        return;
    for (int32_t tile = 0; tile < image_->TileCount(); ++tile)
        if (image_->IsAllocated(tile) || AlphaOf(image_->Uniform(tile)) != 0)
            image_->MarkChanged(tile);
}

int64_t CLayerData::MemoryUse() const
{
    return (image_ ? image_->MemoryUse() : 0) + (thumbnail_.IsValid() ? thumbnail_.ByteSize() : 0);
}

bool CLayerData::DrawInto(TMTC &dest, SPoint point, SExtent rect) const
{
    return image_ && image_->DrawInto(dest, point, 255, false, rect);
}

bool CLayerData::ComposeIntoView(TMTC &dest, SPoint point, bool newSeed, SExtent rect) const
{
    if (!image_)
        return false;
    if (!dither)
        return image_->ComposeIntoView(dest, Mode(), opacity, nullptr, 255, point, rect);
    const SRandomRecord record = newSeed ? FreshDitherRecord() : random;
    return image_->ComposeIntoView(dest, Mode(), opacity, &record, ditherAmount, point, rect);
}

bool CLayerData::ComposeIntoView(const TMTC &pixels, TMTC &dest, SPoint point, bool newSeed, SExtent rect) const
{
    const ComposeRoutine compose = LayerParam(Mode()).compose;
    if (!dither)
        return pv::DrawWithOperator(pixels, dest, point, compose, opacity, rect);
    InstallDither(compose, newSeed ? FreshDitherRecord() : random, ditherAmount);
    return ComposeDithered(pixels, dest, point, opacity, rect);
}

bool CLayerData::DrawWithOperator(TMTC &dest, SPoint point, SExtent rect) const
{
    return image_ && image_->DrawWithOperatorInto(dest, Mode(), opacity, point, rect);
}

bool CLayerData::DrawWithOperator(CBlockVMTC &dest, SPoint point) const
{
    return image_ && image_->DrawWithOperatorInto(dest, Mode(), opacity, point, {0, 0, image_->Width(), image_->Height()});
}

} // namespace pv
