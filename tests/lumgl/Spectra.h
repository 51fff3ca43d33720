// Generated spectra for the drawing tests and benchmarks: a few Gaussian lines over a
// sloping background with deterministic noise.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "lumdb/Records.h"
#include "lumgl/lumgl.h"

namespace spectra {

// The frame's corners from origin (left, bottom) to top right (right, top).
inline void SetFrame(SPlotInfo& info, int left, int bottom, int right, int top) {
    info.origin = {left, bottom};
    info.bottomRight = {right, bottom};
    info.topLeft = {left, top};
    info.topRight = {right, top};
}

inline void SetRange(SPlotInfo& info, float xMin, float xMax, float yMin, float yMax) {
    info.xMin = xMin;
    info.xMax = xMax;
    info.yMin = yMin;
    info.yMax = yMax;
}

inline std::array<float, 4> RangeOf(const SPlotInfo& info) {
    return {info.xMin, info.xMax, info.yMin, info.yMax};
}

// A linear diagram with frame and curve over a client area of width x height, with the
// titles the drawing tests look for.
inline SPlotInfo LinearDiagram(int width, int height, float xMin, float xMax, float yMin,
                               float yMax, const char* title = "Probe") {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.plotRect = {0, 0, width, height};
    info.drawFlags = kDrawXLinear | kDrawYLinear | kDrawFrame | kDrawCurve;
    SetRange(info, xMin, xMax, yMin, yMax);
    info.xTitle = "Wellenlänge [nm]";
    info.yTitle = "Intensität";
    info.title = title;
    return info;
}

inline TPointList Generate(std::size_t count, float from = 200.0f, float to = 800.0f,
                           std::uint32_t seed = 1) {
    TPointList points;
    points.reserve(count);
    std::uint32_t state = seed * 2654435761u + 1;
    const double lines[][3] = {{253.65, 9000, 0.4},  {404.66, 4000, 0.6}, {435.83, 7000, 0.5},
                               {546.07, 12000, 0.8}, {576.96, 3000, 0.5}, {696.54, 5000, 1.5}};
    for (std::size_t i = 0; i < count; ++i) {
        const double x = from + (to - from) * static_cast<double>(i) /
                                    static_cast<double>(count > 1 ? count - 1 : 1);
        double y = 500.0 + 0.8 * (x - from);
        for (const auto& l : lines) {
            const double d = (x - l[0]) / l[2];
            y += l[1] * std::exp(-0.5 * d * d);
        }
        state = state * 1664525u + 1013904223u;
        y += (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 400.0;
        points.push_back(TPointF{static_cast<float>(x), static_cast<float>(y)});
    }
    return points;
}

}  // namespace spectra
