// AddFaintLines: the faint lines that the line search's noise estimate and smoothing leave
// out, found by a second search with a light filter against a robust noise bar.
#include <algorithm>
#include <cmath>

#include "elements/SortedSeries.h"
#include "lumdb/Analysis.h"
#include "lumdb/Elements.h"

namespace lumdb {

bool AddFaintLines(RunHost& host, const TPointList& points, const SLineSearchVal& given,
                   float noise, TLineArray& lines) {
    std::size_t selected = points.size();
    if (given.ZoomData)
        selected = static_cast<std::size_t>(std::count_if(
            points.begin(), points.end(),
            [&](const TPointF& p) { return p.x >= given.zoomFrom && p.x <= given.zoomTo; }));
    if (selected < 16 || !(noise > 0)) return true;
    // The filter spans about a line's width: the median width of the lines found, in points.
    // Wider, it would merge neighbours; narrower, on finely sampled data, it would leave the
    // noise on a line's flanks standing as maxima of their own.
    std::vector<double> widths;
    for (const LineMeasurement& m : MeasureLines(points, lines, noise))
        if (m.step > 0 && m.width > 0) widths.push_back(m.width / m.step);
    double across = 5.0;
    if (!widths.empty()) {
        const auto mid = widths.begin() + static_cast<std::ptrdiff_t>(widths.size() / 2);
        std::nth_element(widths.begin(), mid, widths.end());
        across = *mid;
    }
    const auto largest = static_cast<std::int32_t>(std::min<std::size_t>(101, selected / 4));
    std::int32_t width =
        std::clamp(static_cast<std::int32_t>(std::lround(across)), 5, std::max(5, largest));
    if (width % 2 == 0) ++width;
    SLineSearchVal search = given;
    search.FTFilter = false;
    search.SGFilter = true;
    search.PolynomOrder = 2;
    search.FilterWidth = width;
    search.Noise = true;
    search.NoiseValue = 5.0f * noise;
    TPointList smoothed;
    TLineArray more;
    if (!LineSearch(host, points, smoothed, more, &search)) return false;
    const detail::SortedSeries series(points);
    std::vector<float> known;
    known.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) known.push_back(lines[i].x);
    std::sort(known.begin(), known.end());
    for (std::size_t i = 0; i < more.size(); ++i) {
        const float x = more[i].x;
        const double step = series.step(series.nearest(x));
        const double reach = std::max(2.0, 0.5 * across) * step;
        const auto at = std::lower_bound(known.begin(), known.end(), x);
        const bool taken = (at != known.end() && *at - x <= reach) ||
                           (at != known.begin() && x - *(at - 1) <= reach);
        if (!taken) lines.add(more[i]);
    }
    return true;
}

}  // namespace lumdb
