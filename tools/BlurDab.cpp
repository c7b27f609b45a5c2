// The blur dab: a box blur inside the disc, read from the layer as it was before the stroke so
// that the dabs of one stroke do not compound, written into the work image with a cone of
// coverage; transparency is blurred with the colours weighted by their alpha.
#include "tools/BoxWindow.h"
#include "tools/Dabs.h"
#include "tools/PixelPipeline.h"

#include "raster/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace pv {

void BlurDab(DabContext &dab, float x, float y, float opacity, float radius)
{
    TMTC &image = dab.image.colour;
    const uint32_t strength = uint32_t(std::clamp(dab.density * opacity * 255.0f, 0.0f, 255.0f));
    if (!dab.layer || !dab.layer->Image() || strength == 0 || !(radius > 0))
        return;
    const int32_t half = std::max(1, int32_t(radius * dab.pen.effect() / 100));
    SExtent box{int32_t(std::floor(x - radius)), int32_t(std::floor(y - radius)), 0, 0};
    box.width = int32_t(std::ceil(x + radius)) - box.x;
    box.height = int32_t(std::ceil(y + radius)) - box.y;
    if (!ClipToImage(box, std::min(image.Width(), dab.layer->Image()->Width()),
                     std::min(image.Height(), dab.layer->Image()->Height())))
        return;
    const bool protect = dab.track.dab.protectAlpha;
    ScopedFinalOp blend(protect ? Pipeline().finalOp : AlphaMixOp);
    BoxWindow window(*dab.layer->Image(), box, half, !protect);
    const ColourWriter write = CurrentPixelWriters().colour;
    const int64_t fixedRadius = int64_t(double(radius) * 65536.0);
    const uint64_t count = window.Count();
    for (int32_t j = box.y; j < box.y + box.height; ++j) {
        window.Row(j);
        const double dy = j + 0.5 - y;
        bool inRun = false;
        for (int32_t i = box.x; i < box.x + box.width; ++i) {
            const double dx = i + 0.5 - x;
            const int64_t d = int64_t(std::sqrt(dx * dx + dy * dy) * 65536.0);
            if (d >= fixedRadius) {
                if (inRun)
                    break;
                continue;
            }
            inRun = true;
            const uint32_t cone = 255 - uint32_t(d * 255 / fixedRadius);
            const uint32_t coverage = cone * strength / 255;
            if (coverage == 0)
                continue;
            const BoxWindow::Sums s = window.At(i);
            uint32_t colour;
            if (protect) {
                colour = MakeColour(uint32_t(s[1] / count), uint32_t(s[2] / count), uint32_t(s[3] / count), 0);
            } else {
                if (s[0] == 0)
                    continue;
                colour = MakeColour(uint32_t(std::min<uint64_t>(255, s[1] * 255 / s[0])),
                                    uint32_t(std::min<uint64_t>(255, s[2] * 255 / s[0])),
                                    uint32_t(std::min<uint64_t>(255, s[3] * 255 / s[0])), uint32_t(s[0] / count));
            }
            write(image, i, j, uint8_t(coverage), colour);
        }
    }
}

} // namespace pv
