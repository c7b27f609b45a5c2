// CMaskMngr: the ordered masks of a paper, one of them current (the selection), with the
// four combination modes, inversion, extension and cropping against the paper, inflate and
// deflate, and the mask-level selection commands. Operations that replace a mask hand the old
// one back, for undo.
#pragma once

#include "selection/CMaskData.h"

#include <memory>
#include <vector>

namespace pv {

class CLayerData;

enum class MaskMode { Replace = 0, Add = 1, Subtract = 2, Intersect = 3 };

class CMaskMngr {
public:
    CMaskMngr(int32_t paperWidth, int32_t paperHeight);

    void SetPaperSize(int32_t width, int32_t height);
    int32_t Count() const { return int32_t(masks_.size()); }
    CMaskData *At(int32_t i) const { return i >= 0 && i < Count() ? masks_[size_t(i)].get() : nullptr; }
    int32_t CurrentIndex() const { return current_; }
    CMaskData *Current() const { return At(current_); }
    // Makes a mask current; an index equal to the count first appends a new empty mask.
    bool Select(int32_t i);
    // A new empty mask named "ﾏｽｸ" and the next number, at index (the current one when
    // negative); returns its index.
    int32_t InsertNew(int32_t index);
    int32_t Insert(int32_t index, std::unique_ptr<CMaskData> mask);
    bool Duplicate(int32_t index);
    bool Move(int32_t from, int32_t to);
    std::unique_ptr<CMaskData> Remove(int32_t index);
    std::unique_ptr<CMaskData> Replace(int32_t index, std::unique_ptr<CMaskData> mask);

    // Combines an 8-bit region laid at paper position origin into mask a; the region is 0
    // outside itself. Returns the replaced mask (null when nothing changed or on failure).
    std::unique_ptr<CMaskData> CombineRegion(int32_t a, const TChannel &region, SPoint origin, MaskMode mode);
    // Mask b combined into mask a (b must be present).
    std::unique_ptr<CMaskData> CombineMasks(int32_t a, int32_t b, MaskMode mode);
    // A mask not covering the paper is first extended to it, so the rest of the paper becomes
    // selected; a mask without an image becomes a full-paper mask of 255.
    std::unique_ptr<CMaskData> Invert(int32_t index);
    std::unique_ptr<CMaskData> CropToPaper(int32_t index);
    std::unique_ptr<CMaskData> ExtendToPaper(int32_t index);
    // n steps of one pixel, each first growing the image on every side its content touches.
    std::unique_ptr<CMaskData> Inflate(int32_t index, int n, bool grow);

    // The layer's whole image selected, in mode replace, into the current mask.
    std::unique_ptr<CMaskData> SelectAll(const CLayerData &layer);
    // The current mask replaced by an empty one with its name.
    std::unique_ptr<CMaskData> Deselect();
    // The current mask's content moved by (dx, dy) on the paper; false when nothing moves.
    bool MoveBy(int32_t dx, int32_t dy);
    int64_t MemoryUse() const;
    // The masks for the paper resized to width x height, in a new list with the same current
    // mask: each present mask scaled by the paper's ratios (nearest pixels, or smoothed),
    // empty ones (and ones that scale to no pixels) empty. Null, the list untouched, on failure.
    std::unique_ptr<CMaskMngr> ScaledTo(int32_t width, int32_t height, bool smooth) const;

private:
    // An all-zero mask covering a paper rectangle.
    std::unique_ptr<CMaskData> NewMask(SEdgeRect rect) const;
    std::unique_ptr<CMaskData> Install(int32_t index, std::unique_ptr<CMaskData> mask);
    void Renumber();

    std::vector<std::unique_ptr<CMaskData>> masks_;
    int32_t current_ = 0;
    int32_t nameCounter_ = 0;
    int32_t paperWidth_, paperHeight_;
};

} // namespace pv
