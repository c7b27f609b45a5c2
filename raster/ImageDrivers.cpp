// The image-level drivers.
#include "raster/ImageDrivers.h"

#include "raster/Dither.h"
#include "raster/MixTables.h"
#include "raster/PixelLoops.h"
#include "raster/SLayerParam.h"

namespace pv {

namespace {

uint32_t Lowered(uint32_t pixel, uint8_t lowerOpacity)
{
    return (pixel & 0x00FFFFFFu) | (uint32_t(ProductTable()[lowerOpacity * 256 + (pixel >> 24)]) << 24);
}

// Draws with f(dest pixel, source value), lowering each dest pixel first when asked.
template <class F>
bool DrawEach(const TMTC &source, TMTC &dest, SPoint point, SExtent rect, uint8_t lowerOpacity, F &&f)
{
    return ForEachPixelPair<uint32_t, uint32_t>(dest, source, point, rect, [&](uint32_t *d, const uint32_t *s) {
        if (lowerOpacity != 255)
            *d = Lowered(*d, lowerOpacity);
        f(d, *s);
    });
}

template <class F>
bool ApplyEach(TMTC &dest, SExtent rect, uint8_t lowerOpacity, F &&f)
{
    return ForEachPixel<uint32_t>(dest, rect, [&](uint32_t *d) {
        if (lowerOpacity != 255)
            *d = Lowered(*d, lowerOpacity);
        f(d);
    });
}

// The drawing operators of strokes, with their paint routine inlined in the row loop.
template <PaintRoutine Paint>
void PaintRow(uint32_t *dest, const uint32_t *source, int32_t count, int weight)
{
    for (int32_t i = 0; i < count; ++i)
        Paint(dest + i, source[i], weight);
}

struct SPaintRow {
    PaintRoutine paint;
    ComposeRowRoutine row;
};

constexpr SPaintRow kPaintRows[] = {
    {PaintMultiply, PaintRow<PaintMultiply>},
    {PaintAdd, PaintRow<PaintAdd>},
    {PaintSubtract, PaintRow<PaintSubtract>},
    {PaintNormal, PaintRow<PaintNormal>},
};

// The row loop standing for op: a mode's compose loop or a stroke operator's; null if none.
ComposeRowRoutine RowLoopOf(ColourOp op)
{
    if (const SLayerParam *mode = LayerParamOfCompose(op))
        return mode->composeRow;
    for (const SPaintRow &row : kPaintRows)
        if (row.paint == op)
            return row.row;
    return nullptr;
}

} // namespace

bool DrawWithOperator(const TMTC &source, TMTC &dest, SPoint point, ColourOp op, int parameter, SExtent rect)
{
    if (parameter == 0)
        return false;
    if (op == DitherCompose)
        return ComposeDithered(source, dest, point, parameter, rect);
    if (const ComposeRowRoutine row = RowLoopOf(op))
        return ForEachRowPair<uint32_t, uint32_t>(dest, source, point, rect,
                                                  [&](uint32_t *d, const uint32_t *s, int32_t width) {
                                                      row(d, s, width, parameter);
                                                  });
    return DrawEach(source, dest, point, rect, 255, [&](uint32_t *d, uint32_t s) { op(d, s, parameter); });
}

bool DrawWithOperator(const TMTC &source, TMTC &dest, SPoint point, ColourOp op, int parameter)
{
    return DrawWithOperator(source, dest, point, op, parameter, {0, 0, source.Width(), source.Height()});
}

bool ApplyWithOperator(TMTC &dest, SExtent rect, ColourOp op, uint32_t colour, int parameter)
{
    return dest.Apply(rect, op, colour, parameter);
}

bool DrawWithOperatorLowered(const TMTC &source, TMTC &dest, SPoint point, ColourOp op, int parameter,
                             SExtent rect, uint8_t lowerOpacity)
{
    if (parameter == 0)
        return false;
    return DrawEach(source, dest, point, rect, lowerOpacity, [&](uint32_t *d, uint32_t s) { op(d, s, parameter); });
}

bool ApplyWithOperatorLowered(TMTC &dest, SExtent rect, ColourOp op, uint32_t colour, int parameter,
                              uint8_t lowerOpacity)
{
    if (parameter == 0)
        return false;
    return ApplyEach(dest, rect, lowerOpacity, [&](uint32_t *d) { op(d, colour, parameter); });
}

bool DrawWithMerge(const TMTC &source, TMTC &dest, SPoint point, const SMergeParam &param, int opacity,
                   SExtent rect, uint8_t lowerOpacity)
{
    if (opacity == 0)
        return false;
    return DrawEach(source, dest, point, rect, lowerOpacity,
                    [&](uint32_t *d, uint32_t s) { GenericMerge(d, s, opacity, param); });
}

bool ApplyWithMerge(TMTC &dest, SExtent rect, const SMergeParam &param, uint32_t colour, int opacity,
                    uint8_t lowerOpacity)
{
    if (opacity == 0)
        return false;
    return ApplyEach(dest, rect, lowerOpacity, [&](uint32_t *d) { GenericMerge(d, colour, opacity, param); });
}

PaintRoutine DrawingOperatorOf(int mode)
{
    switch (mode) {
    case 0:
    case 1:
    case 2:
        return LayerParam(mode).paint;
    default:
        return PaintNormal;
    }
}

} // namespace pv
