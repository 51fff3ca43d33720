// The integral of a spectrum between two bounds that snap to its points.
#include <algorithm>
#include <cmath>

#include "lumdb/XAxis.h"
#include "xaxis/XAxisSupport.h"

namespace lumdb {

namespace {

// The first point at or beyond the bound in the direction of the data, else the last.
std::size_t snap(std::span<const TPointF> points, bool ascending, double bound) {
    for (std::size_t i = 0; i < points.size(); ++i)
        if (ascending ? points[i].x >= bound : points[i].x <= bound) return i;
    return points.size() - 1;
}

}  // namespace

std::optional<IntegralResult> trapezoidIntegral(std::span<const TPointF> points, double left,
                                                double right) {
    if (points.empty() || !fitsFloat(left) || !fitsFloat(right)) return std::nullopt;
    const bool ascending = points.front().x <= points.back().x;
    IntegralResult r;
    r.leftIndex = snap(points, ascending, left);
    r.rightIndex = snap(points, ascending, right);
    // Data that are not monotonic may snap the bounds in either order; the walk always goes
    // up the list.
    const std::size_t from = std::min(r.leftIndex, r.rightIndex);
    const std::size_t to = std::max(r.leftIndex, r.rightIndex);
    if (from == to) return r;
    double sum = points[from].y * (static_cast<double>(points[from + 1].x) - points[from].x);
    for (std::size_t k = from + 1; k < to; ++k)
        sum += points[k].y * (static_cast<double>(points[k + 1].x) - points[k - 1].x);
    sum += points[to].y * (static_cast<double>(points[to].x) - points[to - 1].x);
    // Descending data run the same sum in the mirrored direction.
    r.value = (ascending ? 0.5 : -0.5) * sum;
    if (!std::isfinite(r.value) || !fitsFloat(r.value)) return std::nullopt;
    return r;
}

}  // namespace lumdb
