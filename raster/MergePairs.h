// Merging a whole layer image into the layer below: the pair table of routines for common
// mode pairs, the generic two-mode merge for the others, and the image-level merge.
#pragma once

#include "raster/MergeRoutines.h"

namespace pv {

struct SMergePair {
    int lowerMode;
    int upperMode;
    MergeRoutine routine;
};

// The routine of the first matching row among the rows variant 1, 2 or 3 searches (2, 4 or
// 6 rows); null when none matches or the variant is not 1-3.
MergeRoutine FindMergePair(int variant, int lowerMode, int upperMode);

// The parameter block of the generic two-mode merge of upper mode M onto lower mode L.
SMergeParam TwoModeMergeParam(int lowerMode, int upperMode);

// Folds the lower opacity into every lower pixel's alpha, then merges the upper image laid
// at point with the upper opacity: variant 0 with the upper mode's merge routine, variants
// 1-3 with a pair routine or the generic two-mode merge (whose result is inverted when the
// lower mode asks for it). False, with nothing changed, for any other variant.
bool MergeLayerImages(TMTC &lower, int lowerMode, uint8_t lowerOpacity, const TMTC &upper, int upperMode,
                      uint8_t upperOpacity, SPoint point, int variant);

} // namespace pv
