// JPEG reading through libjpeg into a 24-bit bottom-up DIB. Greyscale, YCbCr and RGB files
// are decoded as blue-green-red; CMYK and other colour spaces, and samples of other than 8
// bits, are refused. The size is checked before anything is allocated.
#include "pixkit.h"

#include "dib.h"
#include "file_util.h"
#include "jpeg_error.h"
#include "reader_exports.h"

#include <vector>

namespace pixkit {
namespace {

const char *ColourSpaceName(J_COLOR_SPACE space)
{
    switch (space) {
    case JCS_GRAYSCALE: return "GRAYSCALE";
    case JCS_RGB: return "RGB";
    case JCS_YCbCr: return "YCbCr";
    case JCS_CMYK: return "CMYK";
    case JCS_YCCK: return "YCCK";
    default: return "UNKNOWN";
    }
}

int32_t PixelsPerMeter(int unit, int density)
{
    if (unit == 1)
        return static_cast<int32_t>(density / 0.0254 + 0.5);
    if (unit == 2)
        return density * 100;
    return 0;
}

struct JpegReadJob {
    JpegError error;
    jpeg_decompress_struct info;
    std::vector<JSAMPROW> rows;
};

// Plain state only between setjmp and longjmp: the job owns everything.
int DecodeJpeg(JpegReadJob &job, FILE *file, DibBlocks *blocks, PixkitImageType *type)
{
    jpeg_decompress_struct &info = job.info;
    info.err = job.error.Install(job.error.name);
    if (setjmp(job.error.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return PIXKIT_FAILED;
    }
    jpeg_create_decompress(&info);
    // Progressive files keep every coefficient of the image: a file that claims a huge size
    // is refused by libjpeg instead of taking the memory.
    info.mem->max_memory_to_use = static_cast<long>(kMaxPixelBytes);
    jpeg_stdio_src(&info, file);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        ERREXIT(&info, JERR_NO_IMAGE);
    const J_COLOR_SPACE in = info.jpeg_color_space;
    if (in != JCS_GRAYSCALE && in != JCS_YCbCr && in != JCS_RGB) {
        Debug("JPEG6b: output %s color is unsupported.  input color = %s\n    file = %s\n", "RGB",
              ColourSpaceName(in), job.error.name);
        jpeg_destroy_decompress(&info);
        return PIXKIT_FAILED;
    }
    if (info.data_precision != 8 || info.image_width == 0 || info.image_height == 0 ||
        info.image_width > static_cast<JDIMENSION>(kMaxSide) || info.image_height > static_cast<JDIMENSION>(kMaxSide)) {
        jpeg_destroy_decompress(&info);
        return PIXKIT_FAILED;
    }
    const auto width = static_cast<int32_t>(info.image_width);
    const auto height = static_cast<int32_t>(info.image_height);
    if (type != nullptr) {
        type->bitCount = 24;
        type->kind = info.num_components;
        type->width = width;
        type->height = height;
    }
    if (blocks == nullptr) {
        jpeg_destroy_decompress(&info);
        return PIXKIT_OK;
    }
    // libjpeg takes its own buffers first (within its memory limit), then the image's block.
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const uint64_t stride = DibStride(width, 24);
    if (!blocks->MakeHeader(width, height, 24, 0, false) || !blocks->MakePixels(stride * height)) {
        jpeg_destroy_decompress(&info);
        return PIXKIT_NO_MEMORY;
    }
    blocks->header()->xPelsPerMeter = PixelsPerMeter(info.density_unit, info.X_density);
    blocks->header()->yPelsPerMeter = PixelsPerMeter(info.density_unit, info.Y_density);
    job.rows.resize(static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y)
        job.rows[y] = blocks->pixels() + static_cast<uint64_t>(height - 1 - y) * stride;
    while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, job.rows.data() + info.output_scanline, info.output_height - info.output_scanline);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return PIXKIT_OK;
}

int ReadJpeg(const char *name, DibBlocks *blocks, PixkitImageType *type)
{
    InputFile file(name);
    if (!file.IsOpen())
        return PIXKIT_CANNOT_OPEN;
    JpegReadJob job{};
    job.error.name = name;
    return DecodeJpeg(job, file.get(), blocks, type);
}

} // namespace
} // namespace pixkit

using namespace pixkit;

extern "C" {

int jpegGetType(const char *fileName, PixkitImageType *type)
{
    return GetTypeExport([&](DibBlocks *blocks, PixkitImageType *t) { return ReadJpeg(fileName, blocks, t); }, type);
}

int jpegGetImage(const char *fileName, void **header, void **pixels)
{
    return GetImageExport([&](DibBlocks *blocks, PixkitImageType *t) { return ReadJpeg(fileName, blocks, t); },
                          header, pixels);
}

} // extern "C"
