// Which points of a spectrum a smoothing or line-search run works on.
#pragma once

#include <cstddef>
#include <vector>

#include "lumdb/Records.h"

namespace lumdb::analysis {

// The points a run takes, copied into contiguous arrays (list order kept).
struct PointSelection {
    std::vector<float> xs;
    std::vector<float> ys;
    std::size_t size() const { return xs.size(); }
};

// All points, or with `zoomData` the run of points whose x lies in [zoomFrom, zoomTo]: the
// leading points outside the range are skipped and the points are taken up to the first one
// past its other end, for falling x from zoomTo downwards, for rising x from zoomFrom
// upwards (falling when the last x is not above the first).
PointSelection selectPoints(const TPointList& in, bool zoomData, float zoomFrom, float zoomTo);

// The fewest points a zoomed run accepts.
constexpr std::size_t kMinZoomPoints = 8;

}  // namespace lumdb::analysis
