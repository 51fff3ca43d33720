// Tick values of an axis, separate from drawing: the drawing maps them to device
// points and draws ticks, grid lines and labels.
#pragma once

#include <vector>

#include "lumgl/lumgl_export.h"

namespace lumgl {

struct TickList {
    std::vector<float> values;  // increasing
    double step = 0.0;          // linear: the tick step; logarithmic: 0
    bool logarithmic = false;
    friend bool operator==(const TickList&, const TickList&) = default;
};

// Linear ticks between a and b (either order; lo the smaller, hi the larger). d = hi - lo;
// the decade g = 10^k is 1, or 0.1^n until d / g >= 1 when d < 1, or 10^n until
// d / g <= 10 when d > 10; with q = d / g the step is 0.2g (q <= 1.6), 0.5g (q < 4),
// g (q < 8) or 2g. The ticks are the multiples of the step from the first >= lo up to hi
// (the rule lo + r, r = step - fmod(lo, step), less one step when r >= step, is
// that multiple); they are computed as k * step, not summed, and a multiple that lo or hi
// misses only by the rounding of a 32-bit float (0.013f, 0.018f) still counts.
// An empty, infinite or NaN range gives no ticks.
LUMGL_EXPORT TickList LinearTicks(double a, double b);

// Logarithmic ticks between a and b (either order). The base exponent k: 0; when lo < 1,
// decreased while lo / 10^k < 1; when lo > 1, increased while lo / 10^k > 1. With
// D = log10(hi / lo): when D > 3, 10^(k+i) for i = 0, 1, ... up to hi, kept when >= lo;
// otherwise j * 10^(k+i) for i = 0..3 and j = 1 .. J-1 (J = 6 when D > 2, else 10) up to
// hi, kept when >= lo. Comparisons allow for the rounding of a 32-bit float (relative
// 1e-6). A range with lo <= 0 or a non-finite limit gives no ticks.
LUMGL_EXPORT TickList LogTicks(double a, double b);

// LinearTicks or LogTicks of the 32-bit limits of an SPlotInfo axis.
LUMGL_EXPORT TickList AxisTicks(float a, float b, bool linear);

}  // namespace lumgl
