// Which points of a spectrum a smoothing or line-search run works on.
#pragma once

#include <cstddef>
#include <vector>

#include "lumdb/Records.h"

namespace lumdb::analysis {

// The points a run takes: a contiguous run of the input list. The intensities are copied
// into `ys` (the array the filters work on in place); x and the unsmoothed intensities are
// read from the list itself, which the run does not change.
struct PointSelection {
    const TPointF* points = nullptr;  // the first selected point of the input list
    std::vector<float> ys;

    std::size_t size() const { return ys.size(); }
    float x(std::size_t i) const { return points[i].x; }
    float unsmoothed(std::size_t i) const { return points[i].y; }
};

// All points, or with `zoomData` the run of points whose x lies in [zoomFrom, zoomTo]: the
// leading points outside the range are skipped and the points are taken up to the first one
// past its other end, for falling x from zoomTo downwards, for rising x from zoomFrom
// upwards (falling when the last x is not above the first). `in` must outlive the selection.
PointSelection selectPoints(const TPointList& in, bool zoomData, float zoomFrom, float zoomTo);

// The fewest points a zoomed run accepts.
constexpr std::size_t kMinZoomPoints = 8;

}  // namespace lumdb::analysis
