// The common shape of the reading exports: a reader fills DibBlocks (or, given none, only
// the type record); the export hands the blocks over on success only and turns exceptions
// into result 1.
#pragma once

#include "dib.h"

namespace pixkit {

template <typename Reader>
int GetTypeExport(Reader read, PixkitImageType *type)
{
    try {
        PixkitImageType ignored{};
        return read(nullptr, type != nullptr ? type : &ignored);
    } catch (...) {
        return PIXKIT_FAILED;
    }
}

template <typename Reader>
int GetImageExport(Reader read, void **header, void **pixels)
{
    if (header == nullptr || pixels == nullptr)
        return PIXKIT_FAILED;
    try {
        DibBlocks blocks;
        const int result = read(&blocks, nullptr);
        if (result == PIXKIT_OK)
            blocks.Hand(header, pixels);
        return result;
    } catch (...) {
        return PIXKIT_FAILED;
    }
}

} // namespace pixkit
