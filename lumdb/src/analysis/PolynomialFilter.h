// The polynomial (Savitzky-Golay) smoothing filter and its least-squares weights.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/RunState.h"

namespace lumdb::analysis {

// A failure of the weight computation. what() is "Overflow" when a power or a sum left the
// range of a 32-bit float, "Unknown" for rejected arguments or a singular system.
class FilterError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    bool isOverflow() const;
};

// Least-squares smoothing weights for a window of `width` entries with `nl` points left and
// `nr` points right of the smoothed point, polynomial order `order`. c[0] belongs to the
// leftmost point; entries past nl + nr + 1 stay 0. Throws FilterError.
std::vector<double> smoothingCoefficients(int width, int nl, int nr, int order);

// Smooths `in` into `out` (both of the same length) with a polynomial filter of `order` and
// `width`, point by point with one progress step each (the caller has set the captions and
// the range [0, n-1]). The edges use windows shifted into the data, so no point is lost.
// A window wider than the data leaves the values unchanged. Returns false on abort.
// Throws FilterError.
bool polynomialSmooth(std::span<const float> in, std::span<float> out, int order, int width,
                      RunState& run);

// The same in place; an aborted run leaves `ys` untouched.
bool polynomialFilter(std::span<float> ys, int order, int width, RunState& run);

}  // namespace lumdb::analysis
