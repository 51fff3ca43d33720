// Shift and stretch about a fixed anchor: every change is one map from the current values
// to the new ones.
#include <algorithm>
#include <cmath>

#include "lumdb/XAxis.h"
#include "xaxis/XAxisSupport.h"

namespace lumdb {

namespace {

std::optional<std::array<float, 4>> asFloats(double s, double f, double t, double g) {
    if (!std::isfinite(s) || !std::isfinite(f) || !fitsFloat(s) || !fitsFloat(f))
        return std::nullopt;
    std::array<float, 4> v{static_cast<float>(s), static_cast<float>(f), static_cast<float>(t),
                           static_cast<float>(g)};
    if (v[1] == 0.0f) return std::nullopt;
    return v;
}

}  // namespace

AxisScaling AxisScaling::reset(std::span<const TPointF> points) {
    AxisScaling s;
    if (!points.empty())
        s.anchor =
            std::min_element(points.begin(), points.end(), [](const TPointF& a, const TPointF& b) {
                return a.x < b.x;
            })->x;
    return s;
}

std::optional<std::pair<AffineMap, AffineMap>> AxisScaling::mapsTo(
    const std::array<float, 4>& next) const {
    for (float v : values)
        if (!std::isfinite(v)) return std::nullopt;
    for (float v : next)
        if (!std::isfinite(v)) return std::nullopt;
    if (!std::isfinite(anchor) || values[1] == 0.0f || values[3] == 0.0f || next[1] == 0.0f ||
        next[3] == 0.0f)
        return std::nullopt;
    // x0 = a + (x - a - S) / F, so x' = a + S' + (F'/F)(x - a - S); y alike without anchor.
    const double a = anchor;
    const double xScale = static_cast<double>(next[1]) / values[1];
    const double yScale = static_cast<double>(next[3]) / values[3];
    const AffineMap x{xScale, a + next[0] - xScale * (a + values[0])};
    const AffineMap y{yScale, next[2] - yScale * values[2]};
    return std::pair{x, y};
}

std::optional<std::array<float, 4>> AxisScaling::shifted(double from, double to) const {
    return asFloats(values[0] + (to - from), values[1], values[2], values[3]);
}

std::optional<std::array<float, 4>> AxisScaling::stretchedAbout(double from, double to,
                                                                double fixed) const {
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(fixed) || to == fixed ||
        from == fixed)
        return std::nullopt;
    const double s = (to - fixed) / (from - fixed);
    return asFloats((1.0 - s) * (fixed - anchor) + s * values[0], s * values[1], values[2],
                    values[3]);
}

}  // namespace lumdb
