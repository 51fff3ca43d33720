// Point selection of smoothing and line search (whole spectrum or the displayed range).
#include "analysis/PointSelection.h"

namespace lumdb::analysis {

PointSelection selectPoints(const TPointList& in, bool zoomData, float zoomFrom, float zoomTo) {
    std::size_t first = 0;
    std::size_t last = in.size();
    if (zoomData && !in.empty()) {
        const bool falling = in.back().x <= in.front().x;
        std::size_t i = 0;
        if (falling) {
            while (i < in.size() && in[i].x > zoomTo) ++i;
            first = i;
            while (i < in.size() && in[i].x >= zoomFrom) ++i;
        } else {
            while (i < in.size() && in[i].x < zoomFrom) ++i;
            first = i;
            while (i < in.size() && in[i].x <= zoomTo) ++i;
        }
        last = i;
    }
    PointSelection sel;
    sel.points = in.data() + first;
    sel.ys.resize(last - first);
    for (std::size_t i = first; i < last; ++i) sel.ys[i - first] = in[i].y;
    return sel;
}

}  // namespace lumdb::analysis
