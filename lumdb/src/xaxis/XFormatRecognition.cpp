// Recognising the x and y units of freshly read points, and the axis texts of a format code.
#include <algorithm>
#include <cmath>

#include "lumdb/XAxis.h"

namespace lumdb {

XAxisTexts xAxisTexts(std::int32_t formatCode) {
    switch (formatCode) {
        case kAngstrom:
            return {"Wellenlänge", "A"};
        case kPixels:
            return {"Punkte", ""};
        case kWavenumbers:
            return {"Wellenzahl", "1/cm"};
        default:
            return {"Wellenlänge", "nm"};
    }
}

XFormatRecognition recogniseXFormat(std::span<const TPointF> points, std::int32_t declaredUnit) {
    XFormatRecognition r;
    r.yLabel = "Signal";
    r.yUnit = "Cts";
    if (!points.empty()) {
        float xLow = points.front().x, xHigh = xLow, yLow = points.front().y;
        for (const TPointF& p : points) {
            xLow = std::min(xLow, p.x);
            xHigh = std::max(xHigh, p.x);
            yLow = std::min(yLow, p.y);
        }
        const double xMin = xLow, xMax = xHigh, yMin = yLow;
        if (declaredUnit >= kNanometres && declaredUnit <= kWavenumbers) {
            r.formatCode = declaredUnit;
            r.declared = true;
        } else {
            // The later rules override the earlier ones: a pixel axis may well start above
            // 2000, and wavenumbers above 20000 are also above 2000.
            if (xMin > 2000.0) r.formatCode = kAngstrom;
            if (std::trunc(std::fabs(xMax - xMin)) == static_cast<double>(points.size() - 1))
                r.formatCode = kPixels;
            if (xMin > 20000.0) r.formatCode = kWavenumbers;
        }
        if (yMin < 1.0) r.yUnit = "V";
    }
    XAxisTexts texts = xAxisTexts(r.formatCode);
    r.xLabel = std::move(texts.label);
    r.xUnit = std::move(texts.unit);
    return r;
}

}  // namespace lumdb
