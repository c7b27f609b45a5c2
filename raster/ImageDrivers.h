// Image-level drivers of the per-pixel routines on colour images; all clip as copies do.
//
// "Lowered" variants fold a lower opacity into each destination pixel first (its alpha
// becomes T[lower opacity][alpha]) — the form used when a layer with an opacity of its own
// receives another. A routine parameter of 0 does nothing, as an opacity or weight of 0
// would change nothing.
#pragma once

#include "raster/MergeRoutines.h"

namespace pv {

// routine(dest pixel, source pixel value, parameter) for each pixel of the source rectangle
// laid at point; the compose routines of the mode table run their row loops, and the dither
// routine sees each pixel's source position.
bool DrawWithOperator(const TMTC &source, TMTC &dest, SPoint point, ColourOp op, int parameter, SExtent rect);
bool DrawWithOperator(const TMTC &source, TMTC &dest, SPoint point, ColourOp op, int parameter);
// routine(pixel, colour, parameter) for each pixel of the rectangle.
bool ApplyWithOperator(TMTC &dest, SExtent rect, ColourOp op, uint32_t colour, int parameter);

bool DrawWithOperatorLowered(const TMTC &source, TMTC &dest, SPoint point, ColourOp op, int parameter,
                             SExtent rect, uint8_t lowerOpacity);
bool ApplyWithOperatorLowered(TMTC &dest, SExtent rect, ColourOp op, uint32_t colour, int parameter,
                              uint8_t lowerOpacity);

// The generic merge with a parameter block, opacity as the parameter.
bool DrawWithMerge(const TMTC &source, TMTC &dest, SPoint point, const SMergeParam &param, int opacity,
                   SExtent rect, uint8_t lowerOpacity = 255);
bool ApplyWithMerge(TMTC &dest, SExtent rect, const SMergeParam &param, uint32_t colour, int opacity,
                    uint8_t lowerOpacity = 255);

// The paint routine that lays a stroke onto a layer of the mode: multiply, add and subtract
// have their own, every other mode paints normally.
PaintRoutine DrawingOperatorOf(int mode);

} // namespace pv
