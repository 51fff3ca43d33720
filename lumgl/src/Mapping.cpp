// Data <-> device mapping.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "Internal.h"
#include "lumgl/AxisMap.h"
#include "lumgl/lumgl.h"

namespace lumgl {

namespace {

constexpr double kIntMax = static_cast<double>(std::numeric_limits<std::int32_t>::max());
constexpr double kIntMin = static_cast<double>(std::numeric_limits<std::int32_t>::min());

}  // namespace

double DataToDeviceX(double x, const SPlotInfo& info) {
    const AxisMap axis = AxisMap::X(info);
    if (!axis.valid()) throw PlotError(kErrorLogXLimits);
    return axis.toDevice(x);
}

double DataToDeviceY(double y, const SPlotInfo& info) {
    const AxisMap axis = AxisMap::Y(info);
    if (!axis.valid()) throw PlotError(kErrorLogYLimits);
    return axis.toDevice(y);
}

int RoundToDevice(double value) {
    if (std::isnan(value)) return 0;
    if (value >= kIntMax) return std::numeric_limits<std::int32_t>::max();
    if (value <= kIntMin) return std::numeric_limits<std::int32_t>::min();
    const double t = std::trunc(value);
    if (t != 0.0 && value - t >= 0.5) return static_cast<int>(t) + 1;
    return static_cast<int>(std::floor(value));
}

int TruncateToDevice(double value) {
    if (std::isnan(value)) return 0;
    if (value >= kIntMax) return std::numeric_limits<std::int32_t>::max();
    if (value <= kIntMin) return std::numeric_limits<std::int32_t>::min();
    return static_cast<int>(std::trunc(value));
}

SDevicePoint DataToDevicePointTruncated(TPointF point, const SPlotInfo& info) {
    return SDevicePoint{TruncateToDevice(DataToDeviceX(point.x, info)),
                        TruncateToDevice(DataToDeviceY(point.y, info))};
}

double DeviceToDataX(int px, const SPlotInfo& info) {
    return AxisMap::X(info).toData(px);
}

double DeviceToDataY(int py, const SPlotInfo& info) {
    return AxisMap::Y(info).toData(py);
}

}  // namespace lumgl

SDevicePoint DataToMousePoint(TPointF point, const SPlotInfo& info) {
    return SDevicePoint{lumgl::RoundToDevice(lumgl::DataToDeviceX(point.x, info)),
                        lumgl::RoundToDevice(lumgl::DataToDeviceY(point.y, info))};
}

TPointF MousePointToData(SDevicePoint point, const TPointList& points, const SPlotInfo& info) {
    if (points.empty()) throw lumgl::PlotError(lumgl::kErrorNoData);
    const double x = lumgl::DeviceToDataX(point.x, info);
    const std::size_t i = lumgl::detail::WalkTo(points, x, lumgl::detail::IsRising(points));
    if (i == points.size()) return points.back();
    const TPointF& stop = points[i];
    const TPointF& passed = points[i == 0 ? 0 : i - 1];
    if (std::fabs(x - static_cast<double>(passed.x)) < std::fabs(x - static_cast<double>(stop.x))) {
        return passed;
    }
    return stop;
}

TPointF DisplaceDataPoint(TPointF p, const TPointList& points, int steps) {
    if (points.empty()) throw lumgl::PlotError(lumgl::kErrorNoData);
    const bool rising = lumgl::detail::IsRising(points);
    std::size_t i = lumgl::detail::WalkTo(points, p.x, rising);
    if (i == points.size()) return points.back();
    if (points.front().x == points.back().x || steps == 0) return points[i];
    const bool backwards = rising ? steps < 0 : steps > 0;
    const std::size_t k = static_cast<std::size_t>(std::llabs(static_cast<long long>(steps)));
    if (backwards) {
        i = k > i ? 0 : i - k;
    } else {
        const std::size_t last = points.size() - 1;
        i = k > last - i ? last : i + k;
    }
    return points[i];
}
