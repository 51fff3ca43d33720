// A spectrum's points in rising x order (copied, reversed or sorted as their order needs),
// with positions between points and the split of the x axis at wide gaps.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <span>
#include <utility>
#include <vector>

#include "lumdb/Records.h"

namespace lumdb::detail {

class SortedSeries {
  public:
    explicit SortedSeries(std::span<const TPointF> points) {
        const std::size_t n = points.size();
        xs_.resize(n);
        ys_.resize(n);
        const bool rising =
            std::is_sorted(points.begin(), points.end(),
                           [](const TPointF& a, const TPointF& b) { return a.x < b.x; });
        const bool falling =
            !rising && std::is_sorted(points.begin(), points.end(),
                                      [](const TPointF& a, const TPointF& b) { return a.x > b.x; });
        std::vector<std::size_t> order;
        if (!rising && !falling) {
            order.resize(n);
            std::iota(order.begin(), order.end(), std::size_t{0});
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return points[a].x < points[b].x;
            });
        }
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t from = rising ? k : falling ? n - 1 - k : order[k];
            xs_[k] = points[from].x;
            ys_[k] = points[from].y;
        }
    }

    std::size_t size() const { return xs_.size(); }
    double x(std::int32_t k) const { return xs_[static_cast<std::size_t>(k)]; }
    double y(std::int32_t k) const { return ys_[static_cast<std::size_t>(k)]; }
    const std::vector<float>& xs() const { return xs_; }

    // x at a fractional index, interpolated linearly (extrapolated by the end steps).
    double xAt(double u) const {
        const auto n = static_cast<std::int32_t>(xs_.size());
        if (n == 1) return xs_[0];
        auto k = static_cast<std::int32_t>(std::floor(u));
        k = std::clamp(k, 0, n - 2);
        return x(k) + (u - k) * (x(k + 1) - x(k));
    }

    // The distance of the neighbours of point k.
    double step(std::int32_t k) const {
        const auto n = static_cast<std::int32_t>(xs_.size());
        if (n < 2) return 0.0;
        const std::int32_t a = std::max(0, k - 1), b = std::min(n - 1, k + 1);
        return (x(b) - x(a)) / (b - a);
    }

    // The index of the point nearest to x.
    std::int32_t nearest(float x) const {
        const auto it = std::lower_bound(xs_.begin(), xs_.end(), x);
        if (it == xs_.end()) return static_cast<std::int32_t>(xs_.size()) - 1;
        auto k = static_cast<std::int32_t>(it - xs_.begin());
        if (k > 0 && x - xs_[k - 1] < xs_[k] - x) --k;
        return k;
    }

    // The median distance of neighbouring points.
    double medianStep() const {
        if (xs_.size() < 2) return 0.0;
        std::vector<float> d(xs_.size() - 1);
        for (std::size_t k = 0; k + 1 < xs_.size(); ++k) d[k] = xs_[k + 1] - xs_[k];
        const auto mid = d.begin() + static_cast<std::ptrdiff_t>(d.size() / 2);
        std::nth_element(d.begin(), mid, d.end());
        return *mid;
    }

    // Index ranges [first, last] of the runs of points without a gap wider than `gapSteps`
    // times the median step of the ten points on either side (spectrometers that join
    // several detectors change their step from one to the next).
    std::vector<std::pair<std::size_t, std::size_t>> segments(double gapSteps) const {
        std::vector<std::pair<std::size_t, std::size_t>> out;
        if (xs_.empty()) return out;
        const std::size_t n = xs_.size();
        std::size_t first = 0;
        std::vector<float> near;
        // No local median is below the smallest step, so only gaps wider than gapSteps of
        // those need the median.
        float smallest = 0.0f;
        for (std::size_t k = 1; k < n; ++k) {
            const float step = xs_[k] - xs_[k - 1];
            if (step > 0 && (smallest == 0.0f || step < smallest)) smallest = step;
        }
        for (std::size_t k = 1; k < n; ++k) {
            const float gap = xs_[k] - xs_[k - 1];
            if (!(gap > gapSteps * smallest)) continue;
            near.clear();
            for (std::size_t j = k > 10 ? k - 10 : 1; j < std::min(n, k + 11); ++j)
                if (j != k) near.push_back(xs_[j] - xs_[j - 1]);
            if (near.empty()) continue;
            const auto mid = near.begin() + static_cast<std::ptrdiff_t>(near.size() / 2);
            std::nth_element(near.begin(), mid, near.end());
            if (*mid > 0 && gap > gapSteps * *mid) {
                out.emplace_back(first, k - 1);
                first = k;
            }
        }
        out.emplace_back(first, n - 1);
        return out;
    }

  private:
    std::vector<float> xs_, ys_;
};

}  // namespace lumdb::detail
