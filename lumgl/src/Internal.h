// Helpers shared by lumgl's sources.
#pragma once

#include <cstddef>
#include <utility>

#include "lumdb/Records.h"

namespace lumgl::detail {

// The range a minimum equal to its maximum v becomes on a linear axis: v - 5 .. v + 5,
// or v -+ |v| / 1000 when v +- 5 rounds back to v in 32 bits.
std::pair<float, float> WidenLinear(float v);
// On a logarithmic axis (v > 0): v / 10 .. v * 10.
std::pair<float, float> WidenLog(float v);

// The walk that MousePointToData and DisplaceDataPoint start from: the index of
// the first point that is not before x in the curve's direction, or points.size() when
// the walk runs off the end. `rising`: the last point's x >= the first point's x.
std::size_t WalkTo(const TPointList& points, double x, bool rising);
bool IsRising(const TPointList& points);

}  // namespace lumgl::detail
