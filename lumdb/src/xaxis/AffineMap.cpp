// One affine map for the points and the found lines of a spectrum: the Ångström conversion,
// the pixel calibration and shift and stretch all go through it.
#include <algorithm>
#include <cmath>

#include "lumdb/XAxis.h"
#include "xaxis/XAxisSupport.h"

namespace lumdb {

std::optional<AffineMap> AffineMap::inverse() const {
    if (scale == 0.0 || !std::isfinite(scale) || !std::isfinite(offset)) return std::nullopt;
    return AffineMap{1.0 / scale, -offset / scale};
}

namespace {

bool usable(const AffineMap& m) {
    return m.scale != 0.0 && std::isfinite(m.scale) && std::isfinite(m.offset);
}

// An affine map is monotonic, so its images of the smallest and the largest value bound
// every other image.
bool imagesFit(const AffineMap& m, double low, double high) {
    return fitsFloat(m(low)) && fitsFloat(m(high));
}

}  // namespace

XResult applyMaps(const AffineMap& x, const AffineMap& y, TPointList& points, TLineArray* lines,
                  int* selectedLine) {
    if (!usable(x) || !usable(y)) return XResult::Degenerate;
    const bool mapX = !x.isIdentity(), mapY = !y.isIdentity();
    if (!points.empty()) {
        float xLow = points.front().x, xHigh = xLow, yLow = points.front().y, yHigh = yLow;
        for (const TPointF& p : points) {
            xLow = std::min(xLow, p.x);
            xHigh = std::max(xHigh, p.x);
            yLow = std::min(yLow, p.y);
            yHigh = std::max(yHigh, p.y);
        }
        if (!imagesFit(x, xLow, xHigh) || !imagesFit(y, yLow, yHigh)) return XResult::OutOfRange;
    }
    if (lines && !lines->empty() && !imagesFit(x, lines->begin()->x, (lines->end() - 1)->x))
        return XResult::OutOfRange;

    if (mapX && mapY)
        for (TPointF& p : points) {
            p.x = static_cast<float>(x(p.x));
            p.y = static_cast<float>(y(p.y));
        }
    else if (mapX)
        for (TPointF& p : points) p.x = static_cast<float>(x(p.x));
    else if (mapY)
        for (TPointF& p : points) p.y = static_cast<float>(y(p.y));
    if (lines && mapX) {
        for (CLine& line : *lines) line.x = static_cast<float>(x(line.x));
        resortFoundLines(*lines, selectedLine);
    }
    return XResult::Done;
}

}  // namespace lumdb
