// Maxima with their extents, typical widths and the evaluation of the line search.
#include "analysis/LineMaxima.h"

#include <algorithm>
#include <cmath>

#include "lumdb/RunHost.h"

namespace lumdb::analysis {

namespace {

bool hasNaN(std::span<const float> ys) {
    bool any = false;
    for (float v : ys) any |= std::isnan(v);
    return any;
}

}  // namespace

void findMaximaStepwise(std::span<const float> ys, MaximaTable& maxima) {
    maxima.clear();
    const std::int64_t n = static_cast<std::int64_t>(ys.size());
    if (n == 0) return;
    bool rising = false;
    float curMax = ys[0];
    float curLow = ys[0];
    std::int32_t maxIdx = 0;
    for (std::int64_t i = 0; i < n; ++i) {
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
    for (Maximum& mx : maxima) {
        const std::int64_t m = mx.index;
        std::int64_t right = 0;
        while (m + right + 1 < n && ys[m + right + 1] <= ys[m + right]) ++right;
        std::int64_t left = 0;
        while (m - left - 1 >= 0 && ys[m - left - 1] <= ys[m - left]) ++left;
        mx.right = static_cast<std::int32_t>(right);
        mx.left = static_cast<std::int32_t>(left);
    }
}

bool findMaxima(std::span<const float> ys, MaximaTable& maxima, RunState& run) {
    maxima.clear();
    const std::int64_t n = static_cast<std::int64_t>(ys.size());
    const std::int32_t block = RunState::kProgressBlock;
    if (n == 0 || hasNaN(ys)) {
        findMaximaStepwise(ys, maxima);
        for (std::int64_t i = 0; i < n; i += block)
            if (run.steps(static_cast<std::int32_t>(std::min<std::int64_t>(block, n - i)),
                          static_cast<std::int32_t>(std::min<std::int64_t>(n, i + block) - 1)))
                return false;
        return true;
    }

    // Without NaN the walk above comes down to this: a maximum sits at i when the series
    // rises into i and the next value that differs from ys[i] is lower. Its left extent
    // reaches back to just after the last fall before i, its right extent up to just before
    // the first rise after i. One scan finds both, writing every candidate and counting only
    // the real ones, so that the noise in the data does not turn into mispredicted branches.
    // Maxima are at least two points apart: n / 2 + 1 entries and one spare slot suffice.
    const std::size_t capacity = static_cast<std::size_t>(n / 2 + 2);
    maxima.resize(capacity);
    Maximum* buf = maxima.data();
    const std::size_t spare = capacity - 1;
    buf[spare] = Maximum{0, 0, 0};
    std::size_t count = 0;
    std::size_t pending = spare;  // slot of the maximum whose descent is still running
    // The pending maximum's index is kept here, not read back from the table, and so is the
    // last j with ys[j] > ys[j + 1].
    const std::int64_t lastFall = -1;

    // Every selection below is made with bit masks, not branches: branches would follow the
    // noise and be mispredicted about every other point (and compilers turn plain
    // conditionals here into branches).
    const auto pick = [](std::uint64_t mask, std::uint64_t ifSet, std::uint64_t otherwise) {
        return (ifSet & mask) | (otherwise & ~mask);
    };
    std::uint64_t lastFallBits = static_cast<std::uint64_t>(lastFall);
    std::uint64_t pendingIndexBits = 0;
    const auto scan = [&](std::int64_t i, bool hasNext) {
        const float prev = ys[i - 1];
        const float y = ys[i];
        const std::uint64_t riseMask = 0 - static_cast<std::uint64_t>(y > prev);
        const std::uint64_t fallMask = 0 - static_cast<std::uint64_t>(y < prev);
        lastFallBits = pick(fallMask, static_cast<std::uint64_t>(i - 1), lastFallBits);
        // A rise ends the descent of the pending maximum (or writes into the spare slot).
        const std::size_t ending = pick(riseMask, pending, spare);
        buf[ending].right =
            static_cast<std::int32_t>(i - 1 - static_cast<std::int64_t>(pendingIndexBits));
        pending = pick(riseMask, spare, pending);
        if (!hasNext) return;
        const float next = ys[i + 1];
        std::uint64_t isMax = riseMask & static_cast<std::uint64_t>(next < y);
        if (riseMask & static_cast<std::uint64_t>(next == y)) [[unlikely]] {
            std::int64_t j = i + 2;
            while (j < n && ys[j] == y) ++j;
            isMax = j < n && ys[j] < y;
        }
        buf[count] =
            Maximum{static_cast<std::int32_t>(i), 0,
                    static_cast<std::int32_t>(i - static_cast<std::int64_t>(lastFallBits) - 1)};
        const std::uint64_t maxMask = 0 - isMax;
        pending = pick(maxMask, count, pending);
        pendingIndexBits = pick(maxMask, static_cast<std::uint64_t>(i), pendingIndexBits);
        count += isMax;
    };

    std::int64_t i = 1;
    for (std::int64_t chunkStart = 0; chunkStart < n; chunkStart += block) {
        const std::int64_t chunkEnd = std::min<std::int64_t>(n, chunkStart + block);
        const std::int64_t inner = std::min<std::int64_t>(chunkEnd, n - 1);
        for (; i < inner; ++i) scan(i, true);
        if (i == n - 1 && chunkEnd == n) scan(i++, false);
        if (run.steps(static_cast<std::int32_t>(chunkEnd - chunkStart),
                      static_cast<std::int32_t>(chunkEnd - 1)))
            return false;
    }
    if (pending != spare)
        buf[pending].right =
            static_cast<std::int32_t>(n - 1 - static_cast<std::int64_t>(pendingIndexBits));
    maxima.resize(count);
    return true;
}

bool typicalWidth(std::span<const float> ys, const MaximaTable& maxima, float noise,
                  TypicalWidth& typical, RunState& run) {
    std::int64_t sumRight = 0;
    std::int64_t sumLeft = 0;
    std::int64_t typicalCount = 0;
    const float limit = 2.0f * noise;
    const std::size_t count = maxima.size();
    const std::size_t block = RunState::kProgressBlock;
    for (std::size_t k = 0; k < count;) {
        const std::size_t blockEnd = std::min(count, k + block);
        const std::size_t done = blockEnd - k;
        for (; k < blockEnd; ++k) {
            const Maximum& mx = maxima[k];
            const float h = ys[mx.index];
            const bool clear =
                (h - ys[mx.index - mx.left] > limit) & (h - ys[mx.index + mx.right] > limit);
            sumRight += clear ? mx.right : 0;
            sumLeft += clear ? mx.left : 0;
            typicalCount += clear;
        }
        if (run.steps(static_cast<std::int32_t>(done), static_cast<std::int32_t>(blockEnd - 1)))
            return false;
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
    // All five rules evaluated at once (no short cuts): most maxima of noisy data fail them
    // in unpredictable ways.
    const bool leftWide = m.left >= typical.left;
    const bool rightWide = m.right >= typical.right;
    const bool rule1 = (dL > 3.0f * v) & (dR > v);
    const bool rule2 = (dR > 3.0f * v) & (dL > v);
    const bool rule3 = (dL > 2.0f * v) & (dR > 2.0f * v);
    const bool rule4 = (dL > v) & leftWide & (rightWide | ((m.right > 1) & (dR > v)));
    const bool rule5 = (dR > v) & rightWide & (leftWide | ((m.left > 1) & (dL > v)));
    return rule1 | rule2 | rule3 | rule4 | rule5;
}

}  // namespace lumdb::analysis
