// The steps of the line search that work on the maxima of a (smoothed) series: finding
// them, measuring how far each descends on either side, judging them against the noise
// and the typical width, and placing an accepted line on the unsmoothed data.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <utility>
#include <vector>

#include "analysis/RunState.h"

namespace lumdb::analysis {

// Left uninitialised by default so that the scan can fill a large table without clearing it.
struct Maximum {
    std::int32_t index;  // into the series
    std::int32_t right;  // steps the series does not rise going right
    std::int32_t left;   // likewise going left
};

// Allocates without clearing: the maxima scan writes a slot for every point it passes and
// keeps only some, so zeroing the table first would cost as much as the scan.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    using std::allocator<T>::allocator;
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// The maxima table of a run.
using MaximaTable = std::vector<Maximum, UninitialisedAllocator<Maximum>>;

// The mean extents of the typical maxima (those that stand out by more than twice the noise
// on both sides); all 0 when there is none.
struct TypicalWidth {
    std::int32_t right = 0;
    std::int32_t left = 0;
    std::int32_t width = 0;  // right + left
};

// Every local maximum once, at the first index of a flat top; a maximum at the last point is
// not one. Each comes with its extents: how many steps the series does not rise going right
// from it, and going left. One progress step per point. Returns false on abort.
bool findMaxima(std::span<const float> ys, MaximaTable& maxima, RunState& run);

// The same, walked point by point with a small state machine and extent walks; kept
// for series with NaN (which no comparison orders) and as the reference for the fast scan.
void findMaximaStepwise(std::span<const float> ys, MaximaTable& maxima);

// The mean extents of the maxima that stand out by more than twice the noise on both sides.
// One progress step per maximum. Returns false on abort.
bool typicalWidth(std::span<const float> ys, const MaximaTable& maxima, float noise,
                  TypicalWidth& typical, RunState& run);

// Whether a maximum with its extents counts as a line at noise amplitude `noise`.
bool isLine(std::span<const float> ys, const Maximum& m, float noise, const TypicalWidth& typical);

// The highest unsmoothed point within the maximum's extent (its right end excluded); of equal
// heights the one nearest to the maximum, of those the first. `height(k)` is the unsmoothed
// intensity of point k.
template <class Height>
std::int32_t linePosition(const Height& height, const Maximum& m) {
    std::int32_t p = m.index;
    float best = height(p);
    for (std::int32_t k = m.index - m.left; k < m.index + m.right; ++k) {
        const float h = height(k);
        const auto distance = [&](std::int32_t i) {
            return i < m.index ? m.index - i : i - m.index;
        };
        if (h > best || (h == best && distance(k) < distance(p))) {
            p = k;
            best = h;
        }
    }
    return p;
}

}  // namespace lumdb::analysis
