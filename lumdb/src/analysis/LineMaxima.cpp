// Maxima, extents, evaluation and position of the line search.
#include "analysis/LineMaxima.h"

#include <algorithm>
#include <cstdlib>

#include "lumdb/RunHost.h"

namespace lumdb::analysis {

bool findMaxima(std::span<const float> ys, std::vector<Maximum>& maxima, RunState& run) {
    maxima.clear();
    const std::int64_t n = static_cast<std::int64_t>(ys.size());
    if (n == 0) return true;
    bool rising = false;
    float curMax = ys[0];
    float curLow = ys[0];
    std::int32_t maxIdx = 0;
    std::int64_t i = 0;
    while (i < n) {
        // Progress in blocks of the pump stride: the same pumps as one step per point.
        const std::int64_t blockEnd = std::min<std::int64_t>(n, i + RunHost::kPumpStride);
        const std::int64_t count = blockEnd - i;
        for (; i < blockEnd; ++i) {
            const float y = ys[i];
            const auto idx = static_cast<std::int32_t>(i);
            if (y > curMax) {
                curMax = y;
                maxIdx = idx;
            }
            if (rising && y < curMax) {
                maxima.push_back(Maximum{maxIdx, 0, 0});
                curLow = curMax = y;
                maxIdx = idx;
                rising = false;
            }
            if (y > curLow) {
                curLow = y;
                rising = true;
            }
            if (y < curLow) {
                curLow = y;
                if (!rising) {
                    curMax = y;
                    maxIdx = idx;
                }
            }
        }
        if (run.steps(static_cast<std::int32_t>(count), static_cast<std::int32_t>(i - 1)))
            return false;
    }
    return true;
}

bool measureExtents(std::span<const float> ys, std::vector<Maximum>& maxima, float noise,
                    TypicalWidth& typical, RunState& run) {
    const std::int64_t n = static_cast<std::int64_t>(ys.size());
    std::int64_t sumRight = 0;
    std::int64_t sumLeft = 0;
    std::int64_t typicalCount = 0;
    const float limit = 2.0f * noise;
    for (std::size_t k = 0; k < maxima.size(); ++k) {
        Maximum& mx = maxima[k];
        const std::int64_t m = mx.index;
        std::int64_t right = 0;
        while (m + right + 1 < n && ys[m + right + 1] <= ys[m + right]) ++right;
        std::int64_t left = 0;
        while (m - left - 1 >= 0 && ys[m - left - 1] <= ys[m - left]) ++left;
        mx.right = static_cast<std::int32_t>(right);
        mx.left = static_cast<std::int32_t>(left);
        if (ys[m] - ys[m - left] > limit && ys[m] - ys[m + right] > limit) {
            sumRight += right;
            sumLeft += left;
            ++typicalCount;
        }
        if (run.step(static_cast<std::int32_t>(k))) return false;
    }
    typical = TypicalWidth{};
    if (typicalCount > 0) {
        typical.right = static_cast<std::int32_t>(sumRight / typicalCount);
        typical.left = static_cast<std::int32_t>(sumLeft / typicalCount);
        typical.width = typical.right + typical.left;
    }
    return true;
}

bool isLine(std::span<const float> ys, const Maximum& m, float noise, const TypicalWidth& typical) {
    const float v = noise;
    const float h = ys[m.index];
    const float dL = h - ys[m.index - m.left];
    const float dR = h - ys[m.index + m.right];
    if (dL > 3.0f * v && dR > v) return true;
    if (dR > 3.0f * v && dL > v) return true;
    if (dL > 2.0f * v && dR > 2.0f * v) return true;
    if (dL > v && m.left >= typical.left && (m.right >= typical.right || (m.right > 1 && dR > v)))
        return true;
    if (dR > v && m.right >= typical.right && (m.left >= typical.left || (m.left > 1 && dL > v)))
        return true;
    return false;
}

std::int32_t linePosition(std::span<const float> unsmoothed, const Maximum& m) {
    std::int32_t p = m.index;
    for (std::int32_t k = m.index - m.left; k < m.index + m.right; ++k) {
        if (unsmoothed[k] > unsmoothed[p])
            p = k;
        else if (unsmoothed[k] == unsmoothed[p] && std::abs(m.index - k) < std::abs(m.index - p))
            p = k;
    }
    return p;
}

}  // namespace lumdb::analysis
