// TVMTC and TVChannel: views that present one tile of a block-tiled image as an ordinary
// image. They own nothing: the block image points them at a tile's memory and its row table
// (top-down, tile width apart) and resets them; they can never be resized.
#pragma once

#include "raster/TChannel.h"
#include "raster/TMTC.h"

namespace pv {

template <class Image, class Pixel>
class TTileView : public Image {
public:
    TTileView() = default;
    ~TTileView() override { Clear(); }

    // Forgets the tile; frees nothing.
    void Clear() override { this->Forget(); }
    bool Resize(int32_t, int32_t) override { return false; }
    int32_t RowStep() const override { return this->width_; }

    // Points the view at a tile; rowOffsets must hold height entries.
    void Show(Pixel *pixels, const ptrdiff_t *rowOffsets, int32_t width, int32_t height)
    {
        this->Present(reinterpret_cast<uint8_t *>(pixels), rowOffsets, width, height);
    }
};

class TVMTC : public TTileView<TMTC, uint32_t> {};
class TVChannel : public TTileView<TChannel, uint8_t> {};

} // namespace pv
