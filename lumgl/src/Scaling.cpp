// CalculateScaling and ZoomRectToValues.
#include <cmath>
#include <limits>
#include <tuple>

#include "Internal.h"
#include "lumgl/lumgl.h"

namespace {

double Pow10(int k) {
    return std::pow(10.0, k);
}

// The factor f of the logarithmic y fix-up for the span d > 0 of a range with one limit
// <= 0: f = 1; d < 1: f = 0.1^n until d / f >= 1, then f = 10 / f; d > 10: f = 10^n until
// d / f <= 10. When 1 <= d <= 10 the plain rule leaves f at 1 (an empty range); lumgl
// takes f = 10, one decade, as the loop does for d just above 10.
double DecadeFactor(double d) {
    int k = 0;
    double f = 1.0;
    if (d < 1.0) {
        while (d / Pow10(k) < 1.0 && k > -400) --k;
        f = 10.0 / Pow10(k);
    }
    if (d > 10.0) {
        while (d / Pow10(k) > 10.0 && k < 400) ++k;
        f = Pow10(k);
    }
    if (f == 1.0) f = 10.0;
    return f;
}

// lower = upper / f as a 32-bit float that stays above 0.
float LowerDecadeLimit(float upper, double f) {
    float v = static_cast<float>(static_cast<double>(upper) / f);
    if (!(v > 0.0f)) v = std::numeric_limits<float>::min();
    return v;
}

bool RangeDiffers(double a, double b) {
    const double s = std::fabs(a) + std::fabs(b);
    if (!(s > 0.0) || !std::isfinite(s)) return false;
    // The width of the zoom, not the difference of the magnitudes: a rectangle symmetric
    // about 0 (-100 to 100) is a real zoom and must not be taken for an empty one.
    return std::fabs(b - a) / s * 0.5 > 1e-6;
}

}  // namespace

void CalculateScaling(SPlotInfo& info) {
    using lumgl::detail::WidenLinear;
    using lumgl::detail::WidenLog;
    const double width = static_cast<double>(info.bottomRight.x) - info.origin.x;
    const double height = static_cast<double>(info.topLeft.y) - info.origin.y;

    if (info.drawFlags & kDrawXLinear) {
        if (info.xMin == info.xMax) std::tie(info.xMin, info.xMax) = WidenLinear(info.xMin);
        info.xScale = static_cast<float>(
            width / (static_cast<double>(info.xMax) - static_cast<double>(info.xMin)));
    } else {
        if (!(info.xMin > 0.0f) || !(info.xMax > 0.0f)) {
            throw lumgl::PlotError(lumgl::kErrorLogXLimits);
        }
        if (info.xMin == info.xMax) std::tie(info.xMin, info.xMax) = WidenLog(info.xMin);
        info.xScale = static_cast<float>(
            width / std::log10(static_cast<double>(info.xMax) / static_cast<double>(info.xMin)));
    }

    if (info.drawFlags & kDrawYLinear) {
        if (info.yMin == info.yMax) std::tie(info.yMin, info.yMax) = WidenLinear(info.yMin);
        info.yScale = static_cast<float>(
            height / (static_cast<double>(info.yMax) - static_cast<double>(info.yMin)));
        return;
    }
    if (info.yMin > 0.0f && info.yMax > 0.0f) {
        if (info.yMin == info.yMax) std::tie(info.yMin, info.yMax) = WidenLog(info.yMin);
    } else if (info.yMin <= 0.0f && info.yMax > 0.0f) {
        const double d = static_cast<double>(info.yMax) - static_cast<double>(info.yMin);
        info.yMin = LowerDecadeLimit(info.yMax, DecadeFactor(d));
    } else if (info.yMax <= 0.0f && info.yMin > 0.0f) {
        const double d = static_cast<double>(info.yMin) - static_cast<double>(info.yMax);
        info.yMax = LowerDecadeLimit(info.yMin, DecadeFactor(d));
    } else {
        throw lumgl::PlotError(lumgl::kErrorLogYLimits);
    }
    info.yScale = static_cast<float>(
        height / std::log10(static_cast<double>(info.yMax) / static_cast<double>(info.yMin)));
}

void ZoomRectToValues(const SDeviceRect& rect, SPlotInfo& info) {
    const double a = lumgl::DeviceToDataX(rect.left, info);
    const double b = lumgl::DeviceToDataX(rect.right, info);
    const double d = lumgl::DeviceToDataY(rect.top, info);
    const double c = lumgl::DeviceToDataY(rect.bottom, info);
    if (RangeDiffers(a, b)) {
        info.xMin = static_cast<float>(a);
        info.xMax = static_cast<float>(b);
    }
    if (RangeDiffers(c, d)) {
        info.yMin = static_cast<float>(c);
        info.yMax = static_cast<float>(d);
    }
    CalculateScaling(info);
}
