// The merge pair table and the image-level layer merge.
#include "raster/MergePairs.h"

#include "raster/ImageDrivers.h"
#include "raster/MixTables.h"
#include "raster/PixelLoops.h"
#include "raster/SLayerParam.h"

#include <array>

namespace pv {

namespace {

const std::array<SMergePair, 6> kMergePairs = {{
    {0, 0, MultiplyMerge},
    {2, 2, AdditiveMerge},
    {3, 0, MultiplyMerge},
    {0, 3, NormalMerge},
    {3, 3, NormalMerge},
    {1, 1, AdditiveMerge},
}};

void FoldOpacity(TMTC &image, uint8_t opacity)
{
    const uint8_t *product = ProductTable() + opacity * 256;
    ForEachPixel<uint32_t>(image, {0, 0, image.Width(), image.Height()}, [product](uint32_t *p) {
        *p = (*p & 0x00FFFFFFu) | (uint32_t(product[*p >> 24]) << 24);
    });
}

} // namespace

MergeRoutine FindMergePair(int variant, int lowerMode, int upperMode)
{
    if (variant < 1 || variant > 3)
        return nullptr;
    for (int row = 0; row < 2 * variant; ++row)
        if (kMergePairs[row].lowerMode == lowerMode && kMergePairs[row].upperMode == upperMode)
            return kMergePairs[row].routine;
    return nullptr;
}

SMergeParam TwoModeMergeParam(int lowerMode, int upperMode)
{
    const SLayerParam &L = LayerParam(lowerMode);
    const SLayerParam &M = LayerParam(upperMode);
    return SMergeParam{std::max(M.baseColour, L.baseColour), M.flags, L.paint, M.paint};
}

bool MergeLayerImages(TMTC &lower, int lowerMode, uint8_t lowerOpacity, const TMTC &upper, int upperMode,
                      uint8_t upperOpacity, SPoint point, int variant)
{
    if (variant < 0 || variant > 3)
        return false;
    FoldOpacity(lower, lowerOpacity);
    const SExtent whole{0, 0, upper.Width(), upper.Height()};
    MergeRoutine routine = variant == 0 ? LayerParam(upperMode).merge : FindMergePair(variant, lowerMode, upperMode);
    if (routine != nullptr)
        return DrawWithOperator(upper, lower, point, routine, upperOpacity, whole);
    const bool merged = DrawWithMerge(upper, lower, point, TwoModeMergeParam(lowerMode, upperMode), upperOpacity, whole);
    if ((LayerParam(lowerMode).flags & kModeInvertsAfterMerge) != 0)
        lower.XorRect({0, 0, lower.Width(), lower.Height()}, 0x00FFFFFFu);
    return merged;
}

} // namespace pv
