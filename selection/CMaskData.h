// CMaskData: one selection mask — an 8-bit coverage image (0 not selected, 255 fully
// selected) placed on the paper by its origin: image pixel (0, 0) lies at paper (-ox, -oy).
// A mask without an image is empty; outside its image a mask's value is 0.
#pragma once

#include "raster/CBlockVCH.h"
#include "raster/TTC.h"

#include <cstdint>
#include <memory>
#include <string>

namespace pv {

class CLayerData;

class CMaskData {
public:
    static constexpr int32_t kThumbnailBox = 33;

    explicit CMaskData(int32_t index = 0);
    // A mask of width x height, all 0.
    CMaskData(int32_t index, int32_t width, int32_t height);
    CMaskData(const CMaskData &) = delete;
    CMaskData &operator=(const CMaskData &) = delete;
    std::unique_ptr<CMaskData> Copy() const;

    int32_t index = 0;
    int32_t serial = 0;
    std::string name;
    int32_t ox = 0, oy = 0;

    CBlockVCH *Image() const { return image_.get(); }
    const TTC &Thumbnail() const { return thumbnail_; }
    // Replaces the image with a width x height one of zeros; false (logged) when it cannot.
    bool CreateImage(int32_t width, int32_t height);
    void DropImage() { image_.reset(); }
    // An image with some non-zero tile.
    bool IsPresent() const;
    // The paper-space rectangle of the image (empty without one).
    SEdgeRect Rect() const;
    // The value at a paper position; 0 outside the image.
    uint8_t ValueAt(int32_t x, int32_t y) const;
    // The value at an image position times a coverage (x·y/255); 0 outside.
    uint8_t CoverageAt(int32_t ix, int32_t iy, uint8_t coverage) const;

    // Masks from a layer: the layer image's size and placement; brightness selects the dark
    // (alpha·(255 − grey)/255), transparency takes the alpha.
    bool FromLayerBrightness(const CLayerData &layer);
    bool FromLayerTransparency(const CLayerData &layer);
    // The layer's alpha becomes 0, then the mask value where mask and layer meet.
    bool WriteIntoLayerAlpha(CLayerData &layer) const;
    // alpha = alpha · v / 255 where mask and layer meet.
    bool MultiplyLayerAlpha(CLayerData &layer) const;
    // The mask fitted into 33 x 33, its aspect kept.
    void UpdateThumbnail();

private:
    std::unique_ptr<CBlockVCH> image_;
    TTC thumbnail_;
};

} // namespace pv
