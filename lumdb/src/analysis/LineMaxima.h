// The steps of the line search that work on the maxima of a (smoothed) series: finding
// them, measuring how far each descends on either side, judging them against the noise
// and the typical width, and placing an accepted line on the unsmoothed data.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/RunState.h"

namespace lumdb::analysis {

struct Maximum {
    std::int32_t index = 0;  // into the series
    std::int32_t right = 0;  // steps the series does not rise going right
    std::int32_t left = 0;   // likewise going left
};

// The mean extents of the typical maxima (those that stand out by more than twice the noise
// on both sides); all 0 when there is none.
struct TypicalWidth {
    std::int32_t right = 0;
    std::int32_t left = 0;
    std::int32_t width = 0;  // right + left
};

// Every local maximum once, at the first index of a flat top; a maximum at the last point is
// not one. One progress step per point. Returns false on abort.
bool findMaxima(std::span<const float> ys, std::vector<Maximum>& maxima, RunState& run);

// Fills the extents of every maximum and returns the typical width. One progress step per
// maximum. Returns false on abort.
bool measureExtents(std::span<const float> ys, std::vector<Maximum>& maxima, float noise,
                    TypicalWidth& typical, RunState& run);

// Whether a maximum with its extents counts as a line at noise amplitude `noise`.
bool isLine(std::span<const float> ys, const Maximum& m, float noise, const TypicalWidth& typical);

// The highest unsmoothed point within the maximum's extent (its right end excluded); of equal
// heights the one nearest to the maximum, of those the first.
std::int32_t linePosition(std::span<const float> unsmoothed, const Maximum& m);

}  // namespace lumdb::analysis
