// CLayerData: one layer of a paper — its attributes, its block-tiled pixels, the thumbnail of
// the layer window. Layers are addressed by index in operations and by their serial, unique in
// the process, in undo records and lookups.
//
// Paper pixel (px, py) is layer pixel (px + offsetX, py + offsetY); the offsets are non-zero
// only when the layer image is larger than the paper.
#pragma once

#include "raster/CBlockVMTC.h"
#include "raster/SRandomRecord.h"
#include "raster/TMTC.h"

#include <cstdint>
#include <memory>
#include <string>

namespace pv {

class CUndoMngr;

class CLayerData {
public:
    // A layer with the defaults and the next serial; withUndo asks for a history of its own.
    CLayerData(int32_t index, bool withUndo);
    CLayerData(const CLayerData &) = delete;
    CLayerData &operator=(const CLayerData &) = delete;
    ~CLayerData();

    int32_t index = 0;
    int32_t serial = 0;
    std::string name;
    int32_t offsetX = 0, offsetY = 0;
    int32_t paperWidth = 0, paperHeight = 0;
    bool visible = false;
    bool protectTransparency = false;
    uint8_t opacity = 255;
    uint8_t blendMode = 0; // low 7 bits: the mode code
    bool dither = false;
    uint8_t ditherAmount = 255;
    SRandomRecord random;

    int Mode() const { return blendMode & 0x7F; }
    bool WithUndo() const { return undo_ != nullptr; }
    // The layer's own history, used while its paper keeps none; null without one.
    CUndoMngr *Undo() const { return undo_.get(); }
    void DropUndo();
    CBlockVMTC *Image() const { return image_.get(); }
    const TMTC &Thumbnail() const { return thumbnail_; }

    // visible = 0; the image, thumbnail and history are freed.
    void ReleaseImage();
    // A width x height image of the mode's new-layer fill colour, visible, opacity 255, and a
    // fitted thumbnail; false (image released) when it cannot be made.
    bool CreateImage(int32_t width, int32_t height, int mode, int32_t thumbBoxW = 33, int32_t thumbBoxH = 33);
    // An image of the other's size and mode, then CopyFrom.
    bool CreateAsCopyOf(const CLayerData &other);
    // Tiles, thumbnail, attributes, offsets, paper size and the history of the other.
    bool CopyFrom(const CLayerData &other);
    // Name, visibility, opacity, protection, mode and dither settings — not serial, index,
    // offsets or image.
    void CopyAttributes(const CLayerData &other);

    void FitThumbnail(int32_t boxWidth, int32_t boxHeight);
    void UpdateThumbnail();
    // Only a part of the thumbnail (clipped to it), from the paper rectangle it shows.
    void UpdateThumbnail(SExtent part, SEdgeRect paperRect);

    bool OffsetsInRange(bool clamp);
    bool HasHiddenArea() const;
    SEdgeRect ImageRectOnPaper() const;
    // A new layer (same index and undo setting, same attributes) whose image is newWidth x
    // newHeight with this image drawn at shift and offsets moved by shift; null on failure.
    std::unique_ptr<CLayerData> ResizedCopy(int32_t newWidth, int32_t newHeight, SPoint shift) const;

    void SetAlphaOfWholeImage(uint8_t alpha);
    void ResetColourToModeFill();
    // Installs another image and hands the old one to the caller.
    std::unique_ptr<CBlockVMTC> SwapImage(std::unique_ptr<CBlockVMTC> image);
    // Attribute changes repaint every non-empty tile (the display takes the changed tiles),
    // so they go through these setters.
    void SetOpacity(uint8_t value);
    void SetBlendMode(uint8_t mode);
    void SetVisible(bool value);
    void SetDither(bool on, uint8_t amount, const SRandomRecord &state);
    void MarkAllTilesChanged();

    bool CanUndo() const;
    bool CanRedo() const;
    int64_t UndoMemory() const;
    int64_t MemoryUse() const;

    // Copies the layer's pixels (weight 255, alpha included) into a colour image.
    bool DrawInto(TMTC &dest, SPoint point, SExtent rect) const;
    // Composes into a view with the mode's compose routine and opacity, or dithered (from the
    // stored random state, or freshly seeded when newSeed is set).
    bool ComposeIntoView(TMTC &dest, SPoint point, bool newSeed, SExtent rect) const;
    // The same from a colour image that already holds the layer's pixels.
    bool ComposeIntoView(const TMTC &pixels, TMTC &dest, SPoint point, bool newSeed, SExtent rect) const;
    bool DrawWithOperator(TMTC &dest, SPoint point, SExtent rect) const;
    bool DrawWithOperator(CBlockVMTC &dest, SPoint point) const;

private:
    std::unique_ptr<CUndoMngr> undo_;
    std::unique_ptr<CBlockVMTC> image_;
    TMTC thumbnail_;
};

} // namespace pv
