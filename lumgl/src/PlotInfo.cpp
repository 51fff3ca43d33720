// Creation and initialisation of an SPlotInfo and the data range.
#include <cmath>
#include <tuple>

#include "Internal.h"
#include "lumgl/lumgl.h"

namespace lumgl::detail {

std::pair<float, float> WidenLinear(float v) {
    const double dv = v;
    float lo = static_cast<float>(dv - 5.0);
    float hi = static_cast<float>(dv + 5.0);
    if (lo == hi) {
        const double w = std::fabs(dv) / 1000.0;
        lo = static_cast<float>(dv - w);
        hi = static_cast<float>(dv + w);
    }
    return {lo, hi};
}

std::pair<float, float> WidenLog(float v) {
    return {static_cast<float>(static_cast<double>(v) / 10.0),
            static_cast<float>(static_cast<double>(v) * 10.0)};
}

bool IsRising(const TPointList& points) {
    return points.back().x >= points.front().x;
}

std::size_t WalkTo(const TPointList& points, double x, bool rising) {
    std::size_t i = 0;
    const std::size_t n = points.size();
    if (rising) {
        while (i < n && static_cast<double>(points[i].x) < x) ++i;
    } else {
        while (i<n&& static_cast<double>(points[i].x)> x) ++i;
    }
    return i;
}

}  // namespace lumgl::detail

void MakePlotInfoStruct(SPlotInfo& info, bool create) {
    if (create) {
        info.font = SFontDesc{};
        info.font.face = "System";
        info.font.height = 12;
        info.font.weight = 400;
        info.curvePen = SPenDesc{MakeColor(255, 0, 0), 1, PenStyle::Solid};
        info.framePen = SPenDesc{MakeColor(0, 0, 0), 1, PenStyle::Solid};
        info.title.clear();
        info.xTitle.clear();
        info.yTitle.clear();
    } else {
        info.font = SFontDesc{};
        info.curvePen = SPenDesc{};
        info.framePen = SPenDesc{};
    }
}

void InitPlotInfo(const TPointList& points, SPlotInfo& info, const SDeviceRect& clientRect) {
    if (info.initFlags & kInitAll) info.initFlags = 127;
    if (info.initFlags & (kInitXRange | kInitYRange)) GetMinMax(points, info);
    if (info.initFlags & kInitXTitle) info.xTitle = "Titel: X-Achse";
    if (info.initFlags & kInitYTitle) info.yTitle = "Titel: Y-Achse";
    if (info.initFlags & kInitPlotRect) info.plotRect = clientRect;
    if (info.initFlags & kInitPens) {
        info.curvePen = SPenDesc{MakeColor(255, 0, 0), 1, PenStyle::Solid};
        info.framePen = SPenDesc{MakeColor(0, 0, 0), 1, PenStyle::Solid};
    }
    if (info.initFlags & kInitTitle) info.title = "Bildtitel: Zeichnung (Default)";
    info.drawFlags = 127;
    info.stateFlags = 0;
}

void GetMinMax(const TPointList& points, SPlotInfo& info) {
    if (points.empty()) throw lumgl::PlotError(lumgl::kErrorNoData);
    float x0 = points.front().x, x1 = x0;
    float y0 = points.front().y, y1 = y0;
    for (const TPointF& p : points) {
        if (p.x < x0) x0 = p.x;
        if (p.x > x1) x1 = p.x;
        if (p.y < y0) y0 = p.y;
        if (p.y > y1) y1 = p.y;
    }
    if (x0 == x1) std::tie(x0, x1) = lumgl::detail::WidenLinear(x0);
    if (y0 == y1) std::tie(y0, y1) = lumgl::detail::WidenLinear(y0);
    if (info.initFlags & kInitXRange) {
        info.xMin = x0;
        info.xMax = x1;
    }
    if (info.initFlags & kInitYRange) {
        info.yMin = y0;
        info.yMax = y1;
    }
}
