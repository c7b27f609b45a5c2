// Plain and fading lines.
#include "raster/AntialiasedLines.h"

#include "raster/DrawingCoordinates.h"

#include <utility>

namespace pv {

namespace {

// A line arranged so that its major coordinate grows from start to end.
struct SLineSteps {
    bool xMajor = true;
    double majorStart = 0, minorStart = 0, majorEnd = 0, minorEnd = 0;
    double weightStart = 1, weightEnd = 1;
    bool reversed = false;
};

SLineSteps Arrange(double x0, double y0, double w0, double x1, double y1, double w1)
{
    SLineSteps line;
    line.xMajor = std::abs(x1 - x0) > std::abs(y1 - y0);
    line.majorStart = line.xMajor ? x0 : y0;
    line.minorStart = line.xMajor ? y0 : x0;
    line.majorEnd = line.xMajor ? x1 : y1;
    line.minorEnd = line.xMajor ? y1 : x1;
    line.weightStart = w0;
    line.weightEnd = w1;
    if (line.majorEnd < line.majorStart) {
        std::swap(line.majorStart, line.majorEnd);
        std::swap(line.minorStart, line.minorEnd);
        std::swap(line.weightStart, line.weightEnd);
        line.reversed = true;
    }
    return line;
}

// Calls put(x, y, k, fraction) for the steps k of the line that fall inside the image along
// the major axis; (x, y) is the pixel at the minor coordinate's integer part, fraction its
// bits 8-15. minorStep is the minor advance per step.
template <class Put>
void StepLine(const TMTC &image, const SLineSteps &line, double minorStep, Put &&put)
{
    const int64_t first = Trunc(line.majorStart), last = Trunc(line.majorEnd);
    int64_t from = first, to = last;
    if (!ClipRange(from, to, line.xMajor ? image.Width() : image.Height()))
        return;
    const int64_t step = Trunc(minorStep * 65536);
    int64_t minor = Trunc(line.minorStart * 65536) + (from - first) * step;
    for (int64_t major = from; major <= to; ++major, minor += step) {
        const int32_t m = int32_t(major), n = int32_t(minor >> 16), f = int32_t((minor >> 8) & 0xFF);
        if (line.xMajor)
            put(m, n, major - first, f, 0, 1);
        else
            put(n, m, major - first, f, 1, 0);
    }
}

bool Drawable(const TMTC &image, double x0, double y0, double x1, double y1)
{
    return image.IsValid() && IsDrawable(x0) && IsDrawable(y0) && IsDrawable(x1) && IsDrawable(y1);
}

} // namespace

void DrawLine(TMTC &image, uint32_t colour, bool antialias, double x0, double y0, double x1, double y1)
{
    if (!Drawable(image, x0, y0, x1, y1))
        return;
    const SLineSteps line = Arrange(x0, y0, 1, x1, y1, 1);
    const double d = line.majorEnd - line.majorStart;
    const double minorStep = d == 0 ? 0 : (line.minorEnd - line.minorStart) / (d + 1);
    StepLine(image, line, minorStep, [&](int32_t x, int32_t y, int64_t, int32_t f, int32_t nx, int32_t ny) {
        if (!antialias) {
            image.SetWeighted(x, y, 255, colour);
            return;
        }
        image.SetWeighted(x, y, uint8_t(255 - f), colour);
        image.SetWeighted(x + nx, y + ny, uint8_t(f), colour);
    });
}

void DrawFadingLine(TMTC &image, uint32_t colour, bool antialias, double x0, double y0, double weight0, double x1,
                    double y1, double weight1)
{
    if (!Drawable(image, x0, y0, x1, y1) || !std::isfinite(weight0) || !std::isfinite(weight1))
        return;
    const SLineSteps line = Arrange(x0, y0, weight0, x1, y1, weight1);
    const double d = line.majorEnd - line.majorStart;
    const double minorDelta = line.minorEnd - line.minorStart;
    // A line of no length has no minor step (d x / d y would be 0 / 0).
    const bool exactStep = !line.xMajor && !line.reversed;
    const double minorStep = d == 0 ? 0 : minorDelta / (exactStep ? d : d + 1);
    const double weightStep = (line.weightEnd - line.weightStart) / (d + 1);
    const auto scaled = [](double w, int32_t share) { return uint8_t(Trunc(ClampFraction(w) * share)); };
    StepLine(image, line, minorStep, [&](int32_t x, int32_t y, int64_t k, int32_t f, int32_t nx, int32_t ny) {
        const double w = line.weightStart + double(k) * weightStep;
        if (!antialias) {
            image.SetWeighted(x, y, scaled(w, 255), colour);
            return;
        }
        image.SetWeighted(x, y, scaled(w, 255 - f), colour);
        image.SetWeighted(x + nx, y + ny, scaled(w, f), colour);
    });
}

} // namespace pv
