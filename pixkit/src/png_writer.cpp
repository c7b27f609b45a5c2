// PNG writing through libpng: DIBs of up to 8 bits as palette images of their bit depth with
// the colours the pixels use, 24 bits as RGB, 32 bits as RGB with alpha; 16-bit DIBs are
// refused. libpng's default settings for filters and compression.
#include "pixkit.h"

#include "diagnostics.h"
#include "dib.h"
#include "file_util.h"
#include "png_software.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <string>
#include <vector>

namespace pixkit {
namespace {

struct PngWriteContext {
    SaveFile *file;
    std::jmp_buf jump;
};

void OnPngError(png_structp png, png_const_charp message)
{
    Debug("libpng: %s\n", message);
    std::longjmp(static_cast<PngWriteContext *>(png_get_error_ptr(png))->jump, 1);
}

void OnPngWarning(png_structp, png_const_charp message)
{
    Debug("libpng: %s\n", message);
}

void WriteToFile(png_structp png, png_bytep data, size_t length)
{
    if (!static_cast<PngWriteContext *>(png_get_error_ptr(png))->file->Write(data, length))
        png_error(png, "write failed");
}

void FlushNothing(png_structp) {}

// The highest colour index the pixels use, + 1.
uint32_t IndicesUsed(const DibLayout &layout, const void *pixels)
{
    const int bits = layout.bitCount;
    const int perByte = 8 / bits;
    const uint32_t mask = (1u << bits) - 1;
    uint32_t highest = 0;
    for (int32_t y = 0; y < layout.height; ++y) {
        const uint8_t *row = layout.Row(pixels, y);
        for (int32_t x = 0; x < layout.width; ++x)
            highest = std::max(highest, (row[x / perByte] >> (8 - bits * (x % perByte + 1))) & mask);
    }
    return highest + 1;
}

// Everything the setjmp frame needs, prepared before it.
struct PngPlan {
    DibLayout layout;
    int colourType;
    std::vector<png_color> palette;
    std::vector<png_bytep> rows;
    std::vector<uint8_t> converted;     // 32-bit rows when the masks are not plain
    std::string software;
    bool interlaced;
};

int EncodePng(PngWriteContext &context, PngPlan &plan)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &context, OnPngError, OnPngWarning);
    if (png == nullptr)
        return PIXKIT_FAILED;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(context.jump) != 0) {
        png_destroy_write_struct(&png, &info);
        return PIXKIT_FAILED;
    }
    png_set_write_fn(png, nullptr, WriteToFile, FlushNothing);
    const DibLayout &layout = plan.layout;
    png_set_IHDR(png, info, static_cast<png_uint_32>(layout.width), static_cast<png_uint_32>(layout.height),
                 layout.bitCount <= 8 ? layout.bitCount : 8, plan.colourType,
                 plan.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!plan.palette.empty())
        png_set_PLTE(png, info, plan.palette.data(), static_cast<int>(plan.palette.size()));
    if (layout.xPelsPerMeter > 0 && layout.yPelsPerMeter > 0)
        png_set_pHYs(png, info, static_cast<png_uint_32>(layout.xPelsPerMeter),
                     static_cast<png_uint_32>(layout.yPelsPerMeter), PNG_RESOLUTION_METER);
    png_text text{};
    if (!plan.software.empty()) {
        text.compression = PNG_TEXT_COMPRESSION_NONE;
        text.key = const_cast<char *>("Software");
        text.text = plan.software.data();
        png_set_text(png, info, &text, 1);
    }
    png_write_info(png, info);
    if (layout.bitCount > 8)
        png_set_bgr(png);
    png_write_image(png, plan.rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return PIXKIT_OK;
}

} // namespace
} // namespace pixkit

using namespace pixkit;

extern "C" int pngSaveImage(const char *fileName, const void *header, const void *pixels, int interlaced)
{
    try {
        PngPlan plan;
        if (DescribeDib(header, plan.layout) != PIXKIT_OK || pixels == nullptr)
            return PIXKIT_UNSUPPORTED_HEADER;
        const DibLayout &layout = plan.layout;
        if (layout.bitCount == 16) {
            Debug("PNG: 16bit データの保存はサポートしていません！\n");
            return PIXKIT_UNSUPPORTED_HEADER;
        }
        plan.interlaced = interlaced != 0;
        plan.software = PngSoftwareText();
        plan.rows.resize(static_cast<size_t>(layout.height));
        for (int32_t y = 0; y < layout.height; ++y)
            plan.rows[y] = const_cast<png_bytep>(layout.Row(pixels, y));
        if (layout.bitCount <= 8) {
            plan.colourType = PNG_COLOR_TYPE_PALETTE;
            plan.palette.resize(IndicesUsed(layout, pixels));
            for (uint32_t i = 0; i < plan.palette.size() && i < layout.tableEntries; ++i)
                plan.palette[i] = {layout.table[i * 4 + 2], layout.table[i * 4 + 1], layout.table[i * 4]};
        } else if (layout.bitCount == 24) {
            plan.colourType = PNG_COLOR_TYPE_RGB;
        } else {
            plan.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
            if (!layout.IsPlain32()) {
                const size_t rowBytes = static_cast<size_t>(layout.width) * 4;
                plan.converted.resize(rowBytes * static_cast<size_t>(layout.height));
                for (int32_t y = 0; y < layout.height; ++y) {
                    ConvertRowTo32(layout, layout.Row(pixels, y), layout.width, &plan.converted[y * rowBytes]);
                    plan.rows[y] = &plan.converted[y * rowBytes];
                }
            }
        }
        SaveFile file(fileName);
        if (!file.IsOpen())
            return PIXKIT_CANNOT_OPEN;
        PngWriteContext context{&file, {}};
        if (EncodePng(context, plan) != PIXKIT_OK || !file.Commit())
            return PIXKIT_FAILED;
        return PIXKIT_OK;
    } catch (...) {
        return PIXKIT_FAILED;
    }
}
