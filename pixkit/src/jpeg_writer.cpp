// JPEG writing through libjpeg from 8, 24 and 32-bit DIBs with the caller's quality,
// progressive, greyscale and smoothing options; libjpeg's defaults otherwise (4:2:0 chroma,
// integer DCT).
#include "pixkit.h"

#include "dib.h"
#include "file_util.h"
#include "jpeg_error.h"

#include <algorithm>
#include <vector>

namespace pixkit {
namespace {

struct JpegWriteJob {
    JpegError error;
    jpeg_compress_struct info;
    DibLayout layout;
    const void *pixels;
    PixkitJpegOptions options;
    std::vector<uint8_t> row;   // a converted row for 8-bit and bit-field images
};

int EncodeJpeg(JpegWriteJob &job, FILE *file)
{
    jpeg_compress_struct &info = job.info;
    info.err = job.error.Install(job.error.name);
    if (setjmp(job.error.jump) != 0) {
        jpeg_destroy_compress(&info);
        return PIXKIT_FAILED;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    const DibLayout &layout = job.layout;
    const bool direct = layout.bitCount == 24 || layout.IsPlain32();
    info.image_width = static_cast<JDIMENSION>(layout.width);
    info.image_height = static_cast<JDIMENSION>(layout.height);
    info.input_components = direct && layout.bitCount == 24 ? 3 : 4;
    info.in_color_space = direct && layout.bitCount == 24 ? JCS_EXT_BGR : JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(job.options.quality, 10, 100), TRUE);
    if (job.options.monochrome != 0)
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (job.options.progressive != 0)
        jpeg_simple_progression(&info);
    if (job.options.useSmoothing != 0)
        info.smoothing_factor = std::clamp(job.options.smoothing, 0, 100);
    if (layout.xPelsPerMeter > 0 && layout.yPelsPerMeter > 0) {
        info.density_unit = 1;
        info.X_density = static_cast<UINT16>(std::min(DotsPerInch(layout.xPelsPerMeter), 65535));
        info.Y_density = static_cast<UINT16>(std::min(DotsPerInch(layout.yPelsPerMeter), 65535));
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const uint8_t *source = layout.Row(job.pixels, static_cast<int32_t>(info.next_scanline));
        if (!direct) {
            ConvertRowTo32(layout, source, layout.width, job.row.data());
            source = job.row.data();
        }
        JSAMPROW row = const_cast<JSAMPROW>(source);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return PIXKIT_OK;
}

} // namespace
} // namespace pixkit

using namespace pixkit;

extern "C" int jpegSaveImage(const char *fileName, const void *header, const void *pixels,
                             const PixkitJpegOptions *options)
{
    try {
        JpegWriteJob job{};
        if (DescribeDib(header, job.layout) != PIXKIT_OK || pixels == nullptr || options == nullptr)
            return PIXKIT_UNSUPPORTED_HEADER;
        if (job.layout.bitCount == 16) {
            Debug("Jpeg6bFileSaverBmp: 16bpp のデータをセーブすることはできません！\n");
            return PIXKIT_UNSUPPORTED_HEADER;
        }
        if (job.layout.bitCount != 8 && job.layout.bitCount != 24 && job.layout.bitCount != 32) {
            Debug("Jpeg6bFileSaverBmp: 8/24/32bpp 以外のデータをセーブすることはできません！\n");
            return PIXKIT_UNSUPPORTED_HEADER;
        }
        job.pixels = pixels;
        job.options = *options;
        job.error.name = fileName;
        job.row.resize(static_cast<size_t>(job.layout.width) * 4);
        SaveFile file(fileName);
        if (!file.IsOpen()) {
            Debug("Jpeg6bFileSaver: ファイルのオープンに失敗しました！\n");
            return PIXKIT_FAILED;
        }
        if (EncodeJpeg(job, file.get()) != PIXKIT_OK || !file.Commit())
            return PIXKIT_FAILED;
        return PIXKIT_OK;
    } catch (...) {
        return PIXKIT_FAILED;
    }
}
