// MeasureLines and RobustNoise: sub-sample position, height, width and position uncertainty
// of the found lines on the unsmoothed data, and a noise estimate that lines do not inflate.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "elements/SortedSeries.h"
#include "lumdb/Elements.h"

namespace lumdb {

namespace {

constexpr double kFwhmPerSigma = 2.354820045030949;
constexpr std::int32_t kMaxReach = 60;  // points walked down either side of a line

// The median of `values` (reordered).
double median(std::vector<double>& values) {
    if (values.empty()) return 0.0;
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    double m = *mid;
    if (values.size() % 2 == 0) m = 0.5 * (m + *std::max_element(values.begin(), mid));
    return m;
}

// Solves the symmetric 3x3 system a x = b by Cramer's rule; false when singular.
bool solve3(const double a[3][3], const double b[3], double x[3]) {
    auto det = [](const double m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double d = det(a);
    if (!(std::abs(d) > 1e-300)) return false;
    for (int c = 0; c < 3; ++c) {
        double m[3][3];
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k) m[r][k] = k == c ? b[r] : a[r][k];
        x[c] = det(m) / d;
    }
    return std::isfinite(x[0]) && std::isfinite(x[1]) && std::isfinite(x[2]);
}

LineMeasurement measureOne(const detail::SortedSeries& s, const std::vector<double>& smooth,
                           std::int32_t p, double noise) {
    const auto n = static_cast<std::int32_t>(s.size());
    LineMeasurement m;
    m.position = s.x(p);
    m.step = s.step(p);
    m.height = s.y(p);
    m.uncertainty = m.step;
    if (p <= 0 || p >= n - 1) return m;

    // The feet: walk down the 3-point mean until it rises again. The mean may still rise
    // for a point or two past the highest point when the top is flat, so the walk first
    // climbs to the mean's own top.
    std::int32_t left = p, right = p;
    while (right + 1 < n && right - p < 3 && smooth[right + 1] > smooth[right]) ++right;
    while (left > 0 && p - left < 3 && smooth[left - 1] > smooth[left]) --left;
    while (right + 1 < n && right + 1 - p <= kMaxReach && smooth[right + 1] <= smooth[right])
        ++right;
    while (left > 0 && p - (left - 1) <= kMaxReach && smooth[left - 1] <= smooth[left]) --left;
    const double bl = smooth[left], br = smooth[right];
    auto base = [&](double u) {
        return right == left ? bl : bl + (br - bl) * (u - left) / static_cast<double>(right - left);
    };
    const double peak = s.y(p) - base(p);
    m.height = peak;
    m.baseline = base(p);
    if (!(peak > 0)) return m;

    // The points above a third of the peak, contiguous around it.
    std::int32_t a = p, b = p;
    while (a - 1 >= left && s.y(a - 1) - base(a - 1) > peak / 3) --a;
    while (b + 1 <= right && s.y(b + 1) - base(b + 1) > peak / 3) ++b;

    double centre = 0.0, sigma = 0.0, height = peak;  // index units relative to p
    bool fitted = false;
    if (b - a >= 2) {
        // ln(y) = c0 + c1 u + c2 u^2, weighted by y^2 so that the low points, whose logarithm
        // noise magnifies, count less.
        double ata[3][3] = {}, atb[3] = {};
        for (std::int32_t k = a; k <= b; ++k) {
            const double y = s.y(k) - base(k);
            const double u = k - p;
            const double w = y * y;
            const double row[3] = {1.0, u, u * u};
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 3; ++c) ata[r][c] += w * row[r] * row[c];
                atb[r] += w * row[r] * std::log(y);
            }
        }
        double c[3];
        if (solve3(ata, atb, c) && c[2] < 0) {
            centre = -c[1] / (2 * c[2]);
            sigma = std::sqrt(-1.0 / (2 * c[2]));
            height = std::exp(c[0] - c[1] * c[1] / (4 * c[2]));
            fitted = centre >= a - p - 0.5 && centre <= b - p + 0.5 && std::isfinite(height);
        }
    }
    if (!fitted) {
        const double ym = s.y(p - 1) - base(p - 1), y0 = peak, yp = s.y(p + 1) - base(p + 1);
        const double curvature = ym - 2 * y0 + yp;
        centre = curvature < 0 ? std::clamp(0.5 * (ym - yp) / curvature, -0.5, 0.5) : 0.0;
        height = curvature < 0 ? y0 - 0.25 * (ym - yp) * centre : y0;
        // Width from the half-height crossings, interpolated on either side.
        auto crossing = [&](int dir) {
            std::int32_t k = p;
            while (k + dir >= left && k + dir <= right && s.y(k + dir) - base(k + dir) > y0 / 2)
                k += dir;
            const double inside = s.y(k) - base(k);
            if (k + dir < left || k + dir > right) return static_cast<double>(k - p);
            const double outside = s.y(k + dir) - base(k + dir);
            const double t = inside > outside ? (inside - y0 / 2) / (inside - outside) : 0.5;
            return (k - p) + dir * t;
        };
        sigma = std::max(0.5, (crossing(1) - crossing(-1)) / kFwhmPerSigma);
    }
    m.gaussian = fitted;
    m.position = s.xAt(p + centre);
    m.height = height;
    m.baseline = base(p + centre);
    m.width = kFwhmPerSigma * sigma * m.step;

    // The Cramér-Rao bound for the centre of a Gaussian of this height and width sampled at
    // these points with white noise of amplitude `noise`.
    double information = 0.0;
    const auto reach = static_cast<std::int32_t>(std::ceil(4 * sigma)) + 1;
    for (std::int32_t k = std::max<std::int32_t>(0, p - reach);
         k <= std::min<std::int32_t>(n - 1, p + reach); ++k) {
        const double u = (k - p) - centre;
        const double g = height * u / (sigma * sigma) * std::exp(-0.5 * u * u / (sigma * sigma));
        information += g * g;
    }
    m.uncertainty =
        information > 0 ? noise / std::sqrt(information) * m.step : static_cast<double>(m.step);
    return m;
}

}  // namespace

float RobustNoise(std::span<const TPointF> points) {
    const std::size_t n = points.size();
    if (n < 3) return 0.0f;
    std::vector<double> residual(n - 2);
    for (std::size_t k = 1; k + 1 < n; ++k)
        residual[k - 1] = static_cast<double>(points[k].y) -
                          0.5 * (static_cast<double>(points[k - 1].y) + points[k + 1].y);
    // 1.4826 turns a MAD into a standard deviation for Gaussian noise; the residual of a point
    // against the mean of its neighbours has 1.5 times the noise variance.
    const double scale = 1.482602218505602 / std::sqrt(1.5);
    auto spread = [&](std::vector<double> r) {
        const double centre = median(r);
        for (double& v : r) v = std::abs(v - centre);
        return scale * median(r);
    };
    const double first = spread(residual);
    // The wings of strong lines still raise the median a little: a second pass leaves out
    // every point within two of a residual beyond four times the first estimate.
    std::vector<bool> line(residual.size(), false);
    for (std::size_t k = 0; k < residual.size(); ++k)
        if (std::abs(residual[k]) > 4 * first)
            for (std::size_t j = k > 2 ? k - 2 : 0; j < std::min(residual.size(), k + 3); ++j)
                line[j] = true;
    std::vector<double> quiet;
    quiet.reserve(residual.size());
    for (std::size_t k = 0; k < residual.size(); ++k)
        if (!line[k]) quiet.push_back(residual[k]);
    // Leaving out the large residuals cuts the tails of the noise too: beyond four standard
    // deviations that is nothing measurable, but keep the first estimate when few remain.
    if (quiet.size() < residual.size() / 2) return static_cast<float>(first);
    return static_cast<float>(spread(std::move(quiet)));
}

std::vector<double> SegmentNoiseRatios(std::span<const TPointF> points,
                                       std::span<const std::pair<double, double>> ranges) {
    std::vector<double> out(ranges.size(), 1.0);
    std::vector<std::size_t> inside(ranges.size(), 0);
    bool any = false;
    for (std::size_t r = 0; r < ranges.size(); ++r) {
        for (const TPointF& p : points)
            inside[r] += p.x >= ranges[r].first && p.x <= ranges[r].second;
        any = any || (inside[r] != points.size() && inside[r] >= 3);
    }
    if (!any) return out;
    // The points in rising x: as given when they are so already.
    TPointList sorted;
    std::span<const TPointF> all = points;
    if (!std::is_sorted(points.begin(), points.end(),
                        [](const TPointF& a, const TPointF& b) { return a.x < b.x; })) {
        const detail::SortedSeries s(points);
        sorted.reserve(s.size());
        for (std::size_t k = 0; k < s.size(); ++k) {
            const auto i = static_cast<std::int32_t>(k);
            sorted.push_back({static_cast<float>(s.x(i)), static_cast<float>(s.y(i))});
        }
        all = sorted;
    }
    const double whole = RobustNoise(all);
    if (!(whole > 0)) return out;
    for (std::size_t r = 0; r < ranges.size(); ++r) {
        if (inside[r] == points.size() || inside[r] < 3) continue;
        // `all` rises in x: the range is one run of it.
        const auto lo = std::lower_bound(all.begin(), all.end(), ranges[r].first,
                                         [](const TPointF& p, double x) { return p.x < x; });
        auto hi = lo;
        while (hi != all.end() && hi->x <= ranges[r].second) ++hi;
        const double own = RobustNoise(all.subspan(static_cast<std::size_t>(lo - all.begin()),
                                                   static_cast<std::size_t>(hi - lo)));
        if (own > 0) out[r] = std::clamp(own / whole, 0.05, 20.0);
    }
    return out;
}

double SegmentNoiseRatio(std::span<const TPointF> points, double from, double to) {
    const std::pair<double, double> range{from, to};
    return SegmentNoiseRatios(points, std::span(&range, 1)).front();
}

std::vector<std::pair<double, double>> AxisSegments(std::span<const TPointF> points,
                                                    double gapSteps) {
    std::vector<std::pair<double, double>> out;
    const detail::SortedSeries s(points);
    for (const auto& [first, last] : s.segments(gapSteps))
        out.emplace_back(s.x(static_cast<std::int32_t>(first)),
                         s.x(static_cast<std::int32_t>(last)));
    return out;
}

std::vector<LineMeasurement> MeasureLines(std::span<const TPointF> points, const TLineArray& lines,
                                          float noise) {
    std::vector<LineMeasurement> out;
    out.reserve(lines.size());
    if (points.empty()) {
        out.resize(lines.size());
        return out;
    }
    const detail::SortedSeries s(points);
    std::vector<double> smooth(s.size());
    for (std::size_t k = 0; k < s.size(); ++k) {
        const std::size_t a = k == 0 ? 0 : k - 1, b = std::min(s.size() - 1, k + 1);
        smooth[k] = (s.y(static_cast<std::int32_t>(a)) + s.y(static_cast<std::int32_t>(k)) +
                     s.y(static_cast<std::int32_t>(b))) /
                    3.0;
    }
    for (const CLine& line : lines)
        out.push_back(measureOne(s, smooth, s.nearest(line.x), static_cast<double>(noise)));
    return out;
}

}  // namespace lumdb
