// Polygon fill by row and column passes of runs.
#include "raster/PolygonFill.h"

#include "raster/Runs.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pv {

namespace {

// One edge in pass coordinates: `along` is the coordinate the pass scans (y in the row
// pass), `across` the other. The end with the larger `along` is lowered by 0.01 so that a
// vertex shared by two edges that both continue past it is crossed only once.
struct SPassEdge {
    double alongLow;
    double acrossLow;
    double alongHigh;
    double acrossHigh;
    double slope;   // |d across / d along|
    bool moves;     // shallow to the scan: its crossing moves by half the slope
};

struct SCrossing {
    double at;
    const SPassEdge *edge;
};

// The edges of the outline for one pass. Edges with |dx| >= |dy| move in the row pass,
// the others in the column pass (a diagonal edge moves in the row pass only).
std::vector<SPassEdge> PassEdges(const std::vector<SPoint> &points, bool rowPass)
{
    std::vector<SPassEdge> edges;
    for (size_t k = 0; k + 1 < points.size(); ++k) {
        const SPoint &p = points[k], &q = points[k + 1];
        double a0 = rowPass ? p.y : p.x, c0 = rowPass ? p.x : p.y;
        double a1 = rowPass ? q.y : q.x, c1 = rowPass ? q.x : q.y;
        if (a0 == a1)
            continue;
        if (a0 > a1) {
            std::swap(a0, a1);
            std::swap(c0, c1);
        }
        a1 -= 0.01;
        const bool flat = std::abs(double(q.x) - p.x) >= std::abs(double(q.y) - p.y);
        edges.push_back({a0, c0, a1, c1, std::abs((c1 - c0) / (a1 - a0)), rowPass ? flat : !flat});
    }
    return edges;
}

// The crossings of line `line` (sampled at line + 0, 0.25, 0.5, 0.75), sorted.
void CrossLine(const std::vector<SPassEdge> &edges, int32_t line, std::vector<SCrossing> &crossings)
{
    crossings.clear();
    for (const SPassEdge &e : edges) {
        double sum = 0;
        int samples = 0;
        for (int s = 0; s < 4; ++s) {
            const double at = line + s * 0.25;
            if (at < e.alongLow || at > e.alongHigh)
                continue;
            sum += e.acrossLow + (at - e.alongLow) * (e.acrossHigh - e.acrossLow) / (e.alongHigh - e.alongLow);
            ++samples;
        }
        if (samples > 0)
            crossings.push_back({sum / samples, &e});
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const SCrossing &a, const SCrossing &b) { return a.at < b.at; });
}

template <class DrawRun>
void FillPass(const std::vector<SPoint> &points, bool rowPass, int32_t firstLine, int32_t endLine, int32_t size,
              DrawRun &&drawRun)
{
    const std::vector<SPassEdge> edges = PassEdges(points, rowPass);
    std::vector<SCrossing> crossings;
    for (int32_t line = firstLine; line < endLine; ++line) {
        CrossLine(edges, line, crossings);
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const SCrossing &in = crossings[k], &out = crossings[k + 1];
            double start = std::max(in.at, 0.0), end = std::min(out.at, double(size));
            if (in.edge->moves)
                start += in.edge->slope / 2;
            if (out.edge->moves)
                end -= out.edge->slope / 2;
            if (end > start)
                drawRun(line, start, end);
        }
    }
}

} // namespace

void PolygonFill(TChannel &channel, std::span<const SPoint> outline)
{
    std::vector<SPoint> points(outline.begin(), outline.end());
    points.erase(std::unique(points.begin(), points.end(),
                             [](const SPoint &a, const SPoint &b) { return a.x == b.x && a.y == b.y; }),
                 points.end());
    if (points.size() < 4 || !channel.IsValid())
        return;
    const auto [minX, maxX] = std::minmax_element(points.begin(), points.end(),
                                                  [](const SPoint &a, const SPoint &b) { return a.x < b.x; });
    const auto [minY, maxY] = std::minmax_element(points.begin(), points.end(),
                                                  [](const SPoint &a, const SPoint &b) { return a.y < b.y; });
    const int32_t left = std::max(minX->x, 0), right = std::min(maxX->x, channel.Width());
    const int32_t top = std::max(minY->y, 0), bottom = std::min(maxY->y, channel.Height());
    FillPass(points, true, top, bottom, channel.Width(),
             [&](int32_t row, double start, double end) { RowRun(channel, row, 255, 1.0, start, end); });
    FillPass(points, false, left, right, channel.Height(),
             [&](int32_t column, double start, double end) { ColumnRun(channel, column, 255, 1.0, start, end); });
}

} // namespace pv
