// PNG reading through libpng. Palette images stay palette DIBs (2-bit palettes widened to
// 8 bits a pixel), greyscale becomes an 8-bit DIB with a grey ramp, RGB 24 bits, and every
// image with an alpha channel or a transparency chunk 32 bits; 16-bit samples are scaled to
// 8. libpng's errors come back here by longjmp and end in result 1.
#include "pixkit.h"

#include "diagnostics.h"
#include "dib.h"
#include "file_util.h"
#include "reader_exports.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace pixkit {
namespace {

struct PngReadContext {
    FILE *file;
    const char *name;
    std::jmp_buf jump;
};

void OnPngError(png_structp png, png_const_charp message)
{
    auto *context = static_cast<PngReadContext *>(png_get_error_ptr(png));
    Debug("%s\n    file = %s\n", message, context->name);
    std::longjmp(context->jump, 1);
}

void OnPngWarning(png_structp png, png_const_charp message)
{
    auto *context = static_cast<PngReadContext *>(png_get_error_ptr(png));
    Debug("libpng: %s\n    file = %s\n", message, context->name);
}

void ReadFromFile(png_structp png, png_bytep data, size_t length)
{
    auto *context = static_cast<PngReadContext *>(png_get_error_ptr(png));
    if (std::fread(data, 1, length, context->file) != length)
        png_error(png, "PNG read size error!");
}

// What the DIB of a PNG looks like once the transformations are set.
struct PngShape {
    int bitCount;
    uint32_t tableEntries;
    bool greyRamp;
};

PngShape ChooseTransforms(png_structp png, png_infop info)
{
    const int colourType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (depth == 16)
        png_set_scale_16(png);
    png_set_interlace_handling(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE && !transparency) {
        png_colorp palette = nullptr;
        int entries = 0;
        png_get_PLTE(png, info, &palette, &entries);
        if (depth == 2)
            png_set_packing(png);
        const uint32_t kept = std::min(static_cast<uint32_t>(entries), 1u << depth);
        return {depth == 2 ? 8 : depth, kept, false};
    }
    if ((colourType == PNG_COLOR_TYPE_GRAY) && !transparency) {
        if (depth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
        return {8, 256, true};
    }
    // Expansion only where there is something to expand: it costs a pass over every row.
    if (transparency || colourType == PNG_COLOR_TYPE_PALETTE || depth < 8)
        png_set_expand(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    const bool alpha = transparency || (colourType & PNG_COLOR_MASK_ALPHA) != 0;
    return {alpha ? 32 : 24, 0, false};
}

// Fills the blocks (or, without them, only the type record). Plain data only between
// setjmp and longjmp: everything that needs freeing is reachable from the arguments.
int DecodePng(PngReadContext &context, DibBlocks *blocks, PixkitImageType *type, png_bytepp &rows)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnPngError, OnPngWarning);
    if (png == nullptr)
        return PIXKIT_FAILED;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(context.jump) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return PIXKIT_FAILED;
    }
    png_set_read_fn(png, nullptr, ReadFromFile);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(png, 64u << 20);
    png_read_info(png, info);

    const uint32_t width = png_get_image_width(png, info);
    const uint32_t height = png_get_image_height(png, info);
    png_uint_32 xPpm = 0, yPpm = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &xPpm, &yPpm, &unit) == 0 || unit != PNG_RESOLUTION_METER ||
        xPpm > INT32_MAX || yPpm > INT32_MAX)
        xPpm = yPpm = 0;
    const PngShape shape = ChooseTransforms(png, info);
    png_read_update_info(png, info);
    const uint64_t stride = DibStride(width, shape.bitCount);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != (static_cast<uint64_t>(width) * shape.bitCount + 7) / 8) {
        Debug("PngFileBmp: rowbytes size error!\n    type = %d, depth = %d, channels = %d, file = %s\n",
              png_get_color_type(png, info), png_get_bit_depth(png, info), png_get_channels(png, info),
              context.name);
        png_error(png, "row size");
    }
    if (stride * height > kMaxPixelBytes)
        png_error(png, "image too large");

    if (type != nullptr) {
        type->bitCount = shape.bitCount;
        type->kind = png_get_color_type(png, info);
        type->width = static_cast<int32_t>(width);
        type->height = static_cast<int32_t>(height);
        SetTypeResolution(*type, static_cast<int32_t>(xPpm), static_cast<int32_t>(yPpm));
    }
    if (blocks != nullptr) {
        if (!blocks->MakeHeader(static_cast<int32_t>(width), static_cast<int32_t>(height), shape.bitCount,
                                shape.tableEntries, false) ||
            !blocks->MakePixels(stride * height))
            png_error(png, "out of memory");
        PixkitBitmapInfoHeader *header = blocks->header();
        header->xPelsPerMeter = static_cast<int32_t>(xPpm);
        header->yPelsPerMeter = static_cast<int32_t>(yPpm);
        uint8_t *table = blocks->table();
        png_colorp palette = nullptr;
        int entries = 0;
        if (shape.greyRamp) {
            for (uint32_t i = 0; i < 256; ++i)
                table[i * 4] = table[i * 4 + 1] = table[i * 4 + 2] = static_cast<uint8_t>(i);
        } else if (shape.tableEntries != 0 && png_get_PLTE(png, info, &palette, &entries) != 0) {
            for (uint32_t i = 0; i < shape.tableEntries && i < static_cast<uint32_t>(entries); ++i) {
                table[i * 4] = palette[i].blue;
                table[i * 4 + 1] = palette[i].green;
                table[i * 4 + 2] = palette[i].red;
            }
        }
        rows = static_cast<png_bytepp>(std::malloc(sizeof(png_bytep) * height));
        if (rows == nullptr)
            png_error(png, "out of memory");
        for (uint32_t y = 0; y < height; ++y)
            rows[y] = blocks->pixels() + (height - 1 - y) * stride;
        png_read_image(png, rows);
        png_read_end(png, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return PIXKIT_OK;
}

int ReadPng(const char *name, DibBlocks *blocks, PixkitImageType *type)
{
    InputFile file(name);
    if (!file.IsOpen())
        return PIXKIT_CANNOT_OPEN;
    png_byte signature[8];
    if (!file.Read(signature, sizeof signature) || png_sig_cmp(signature, 0, sizeof signature) != 0)
        return PIXKIT_FAILED;
    PngReadContext context{file.get(), name, {}};
    png_bytepp rows = nullptr;
    const int result = DecodePng(context, blocks, type, rows);
    std::free(rows);
    return result;
}

} // namespace
} // namespace pixkit

using namespace pixkit;

extern "C" {

int pngGetType(const char *fileName, PixkitImageType *type)
{
    return GetTypeExport([&](DibBlocks *blocks, PixkitImageType *t) { return ReadPng(fileName, blocks, t); }, type);
}

int pngGetImage(const char *fileName, void **header, void **pixels)
{
    return GetImageExport([&](DibBlocks *blocks, PixkitImageType *t) { return ReadPng(fileName, blocks, t); },
                          header, pixels);
}

} // extern "C"
