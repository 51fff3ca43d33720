// One axis of the data <-> device mapping of a diagram, as a small value type: the
// mapping functions (DataToMousePoint, MousePointToData, ...) and the curve walk all map
// through it, so a point lands on the same pixel whichever of them places it.
#pragma once

#include <cmath>

#include "lumgl/PlotInfo.h"

namespace lumgl {

struct AxisMap {
    double min = 0.0;     // the axis' lower limit (xMin or yMin)
    double scale = 0.0;   // device units per data unit, or per decade on a logarithmic axis
    double origin = 0.0;  // device coordinate of `min`
    bool log = false;

    static AxisMap X(const SPlotInfo& info) {
        return {static_cast<double>(info.xMin), static_cast<double>(info.xScale),
                static_cast<double>(info.origin.x), (info.drawFlags & kDrawXLinear) == 0};
    }
    static AxisMap Y(const SPlotInfo& info) {
        return {static_cast<double>(info.yMin), static_cast<double>(info.yScale),
                static_cast<double>(info.origin.y), (info.drawFlags & kDrawYLinear) == 0};
    }

    // A logarithmic axis needs a lower limit above 0 (the callers raise PlotError 1 or 2).
    bool valid() const { return !log || min > 0.0; }

    // Device coordinate of a data value, unrounded: (v - min) * scale + origin, or
    // log10(v / min) * scale + origin on a logarithmic axis, where a v <= 0 lies at origin.
    double toDevice(double v) const { return log ? logToDevice(v) : linearToDevice(v); }
    double linearToDevice(double v) const { return (v - min) * scale + origin; }
    double logToDevice(double v) const {
        if (!(v > 0.0)) return origin;
        return std::log10(v / min) * scale + origin;
    }

    // Data value of a device coordinate: (p - origin) / scale + min, or
    // min * 10^((p - origin) / scale). A scale of 0 or one that is not finite counts as
    // offset 0, so the result is min rather than inf or NaN.
    double toData(int p) const {
        const float s = static_cast<float>(scale);
        const double u =
            (s == 0.0f || !std::isfinite(s)) ? 0.0 : (static_cast<double>(p) - origin) / scale;
        return log ? min * std::pow(10.0, u) : u + min;
    }
};

}  // namespace lumgl
