// The clipped walk along the data curve.
#include "lumgl/CurveWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "lumgl/AxisMap.h"
#include "lumgl/Canvas.h"
#include "lumgl/ColumnReducer.h"
#include "lumgl/PlotError.h"

namespace lumgl {

PathSink::~PathSink() = default;

void CanvasPathSink::moveTo(SDevicePoint p) {
    canvas_.moveTo(p);
}
void CanvasPathSink::lineTo(SDevicePoint p) {
    canvas_.lineTo(p);
}

namespace {

// One axis of the mapping (lumgl::AxisMap) with its kind fixed at compile time and only
// the three numbers the formula needs: the walk runs it twice per point of a
// million-point spectrum.
template <bool Linear>
struct FixedAxis {
    double min;
    double scale;
    double origin;

    explicit FixedAxis(const AxisMap& axis)
        : min(axis.min), scale(axis.scale), origin(axis.origin) {}

    double operator()(double v) const {
        const AxisMap axis{min, scale, origin, !Linear};
        if constexpr (Linear) {
            return axis.linearToDevice(v);
        } else {
            return axis.logToDevice(v);
        }
    }
};

int TruncateSlow(double v) {
    if (std::isnan(v)) return 0;
    return v > 0.0 ? std::numeric_limits<std::int32_t>::max()
                   : std::numeric_limits<std::int32_t>::min();
}

// Truncation toward zero, clamped to 32 bits like TruncateToDevice; NaN gives 0.
inline int Truncate(double v) {
    if (v > -2147483648.0 && v < 2147483647.0) [[likely]] {
        return static_cast<int>(v);
    }
    return TruncateSlow(v);
}

// y at x on the segment a-b, in data units.
inline double YAt(double ax, double ay, double bx, double by, double x) {
    if (bx == ax) return by;
    return ay + (by - ay) * (x - ax) / (bx - ax);
}

// x where the segment a-b reaches the level y, in data units.
inline double XAt(double ax, double ay, double bx, double by, double y) {
    if (by == ay) return bx;
    const double x = ax + (bx - ax) * (y - ay) / (by - ay);
    return std::isfinite(x) ? x : bx;
}

template <bool XLinear, bool YLinear, class Sink>
void Walk(const TPointF* pts, std::size_t n, const SPlotInfo& info, Sink& sink) {
    const FixedAxis<XLinear> mapX(AxisMap::X(info));
    const FixedAxis<YLinear> mapY(AxisMap::Y(info));
    const double xLo = std::min(info.xMin, info.xMax);
    const double xHi = std::max(info.xMin, info.xMax);
    const double yLo = std::min(info.yMin, info.yMax);
    const double yHi = std::max(info.yMin, info.yMax);
    const bool upright = info.yMin <= info.yMax;
    const int devLo = upright ? info.origin.y : info.topLeft.y;  // device y of yLo
    const int devHi = upright ? info.topLeft.y : info.origin.y;

    auto beyondX = [&](double x) { return x < xLo || x > xHi; };
    auto insideY = [&](double y) { return y >= yLo && y <= yHi; };
    auto device = [&](double x, double y) {
        return SDevicePoint{Truncate(mapX(x)), Truncate(mapY(y))};
    };

    std::size_t i = 1;
    while (i < n && beyondX(pts[i].x)) ++i;
    if (i == n) return;

    double px = pts[i - 1].x;
    double py = pts[i - 1].y;
    if (beyondX(px)) {
        const double limit = px < xLo ? xLo : xHi;
        py = YAt(px, py, pts[i].x, pts[i].y, limit);
        px = limit;
    }
    bool prevInside = insideY(py);
    SDevicePoint prevDev = device(px, py);
    bool open = false;  // the sink's current position is prevDev

    const float xLoF = std::min(info.xMin, info.xMax);
    const float xHiF = std::max(info.xMin, info.xMax);
    const float yLoF = std::min(info.yMin, info.yMax);
    const float yHiF = std::max(info.yMin, info.yMax);

    // For the column reduction on a linear y axis, a run of inside points sharing one
    // pixel column is gathered in data units and only its first, lowest, highest and last
    // y are mapped. The linear mapping and the truncation are monotonic (each rounded
    // operation is), so the lowest and highest data y land on the extreme device y of the
    // run (which one is which depends on the sign of yScale; the reducer takes min and max
    // of what it gets). Passing first, both extremes and last through the same
    // "emit only on change" rule as single points leaves the reducer in the same state as
    // passing every point: it keeps the column's first point, its extremes and its last
    // point. A logarithmic y axis keeps the per-point path, since log10 is not guaranteed
    // to be monotonic to the last bit.
    constexpr bool kGather = YLinear && std::is_same_v<Sink, ColumnReducer>;
    auto emitInside = [&](SDevicePoint dev) {
        if (dev != prevDev) {
            if (!open) sink.moveTo(prevDev);
            sink.lineTo(dev);
            open = true;
        }
        prevDev = dev;
    };

    for (; i < n; ++i) {
        // The common case of a dense curve, kept short: both ends inside both bands.
        const float fx = pts[i].x;
        const float fy = pts[i].y;
        if constexpr (kGather) {
            if (prevInside && fx >= xLoF && fx <= xHiF && fy >= yLoF && fy <= yHiF) [[likely]] {
                // The run's state in locals of its own loop, so that it stays in registers.
                const int column = Truncate(mapX(fx));
                float low = fy, high = fy, last = fy, lastX = fx;
                std::size_t j = i + 1;
                for (; j < n; ++j) {
                    const float gx = pts[j].x;
                    const float gy = pts[j].y;
                    if (!(gx >= xLoF && gx <= xHiF && gy >= yLoF && gy <= yHiF)) break;
                    if (Truncate(mapX(gx)) != column) break;
                    low = gy < low ? gy : low;
                    high = gy > high ? gy : high;
                    last = gy;
                    lastX = gx;
                }
                emitInside(SDevicePoint{column, Truncate(mapY(fy))});
                if (low != high) {
                    emitInside(SDevicePoint{column, Truncate(mapY(low))});
                    emitInside(SDevicePoint{column, Truncate(mapY(high))});
                }
                emitInside(SDevicePoint{column, Truncate(mapY(last))});
                px = lastX;
                py = last;
                i = j - 1;
                continue;
            }
        } else if (prevInside && fx >= xLoF && fx <= xHiF && fy >= yLoF && fy <= yHiF) [[likely]] {
            const SDevicePoint dev{Truncate(mapX(fx)), Truncate(mapY(fy))};
            if (dev != prevDev) {
                if (!open) sink.moveTo(prevDev);
                sink.lineTo(dev);
                open = true;
            }
            px = fx;
            py = fy;
            prevDev = dev;
            continue;
        }
        double cx = fx;
        double cy = fy;
        const bool leaving = beyondX(cx);
        if (leaving) {
            const double limit = cx < xLo ? xLo : xHi;
            cy = YAt(px, py, cx, cy, limit);
            cx = limit;
        }
        const bool inside = insideY(cy);
        const SDevicePoint dev = device(cx, cy);

        if (prevInside && inside) {
            if (dev != prevDev) {
                if (!open) sink.moveTo(prevDev);
                sink.lineTo(dev);
                open = true;
            }
        } else if (prevInside) {
            const bool above = cy > yHi;
            const double level = above ? yHi : yLo;
            const SDevicePoint exit{Truncate(mapX(XAt(px, py, cx, cy, level))),
                                    above ? devHi : devLo};
            if (exit != prevDev) {
                if (!open) sink.moveTo(prevDev);
                sink.lineTo(exit);
            }
            open = false;
        } else if (inside) {
            const bool fromAbove = py > yHi;
            const double level = fromAbove ? yHi : yLo;
            const SDevicePoint entry{Truncate(mapX(XAt(px, py, cx, cy, level))),
                                     fromAbove ? devHi : devLo};
            sink.moveTo(entry);
            if (dev != entry) sink.lineTo(dev);
            open = true;
        }

        px = cx;
        py = cy;
        prevInside = inside;
        prevDev = dev;
        if (leaving) break;  // every later point would sit where the curve left
    }
}

template <class Sink>
void Dispatch(const TPointF* pts, std::size_t n, const SPlotInfo& info, Sink& sink) {
    const bool xLinear = (info.drawFlags & kDrawXLinear) != 0;
    const bool yLinear = (info.drawFlags & kDrawYLinear) != 0;
    if (!xLinear && !(info.xMin > 0.0f)) throw PlotError(kErrorLogXLimits);
    if (!yLinear && !(info.yMin > 0.0f)) throw PlotError(kErrorLogYLimits);
    if (n < 2) return;
    if (xLinear && yLinear) {
        Walk<true, true>(pts, n, info, sink);
    } else if (xLinear) {
        Walk<true, false>(pts, n, info, sink);
    } else if (yLinear) {
        Walk<false, true>(pts, n, info, sink);
    } else {
        Walk<false, false>(pts, n, info, sink);
    }
}

}  // namespace

void WalkClippedCurve(const TPointF* pts, std::size_t n, const SPlotInfo& info, PathSink& sink) {
    Dispatch(pts, n, info, sink);
}

void WalkClippedCurve(const TPointF* pts, std::size_t n, const SPlotInfo& info,
                      ColumnReducer& sink) {
    Dispatch(pts, n, info, sink);
}

}  // namespace lumgl
