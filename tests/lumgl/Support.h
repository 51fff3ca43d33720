// Helpers of the lumgl tests: case tables, golden traces, error codes and generated spectra.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "lumdb/Records.h"
#include "lumgl/PlotError.h"
#include "lumgl/lumgl.h"

// Case tables: tests/lumgl/data/<name>, one case a line, cells split by tabs, blank lines and
// lines starting with '#' skipped. A missing or empty table fails.
namespace table {

using Row = std::vector<std::string>;

inline std::vector<Row> Read(const std::string& name) {
    std::ifstream in(std::string(LUMORA_TEST_DATA) + "/lumgl/data/" + name);
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        Row row;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) row.push_back(cell);
        rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << "no cases in tests/lumgl/data/" << name;
    return rows;
}

// A number; written with a trailing f it is the 32-bit float of that decimal.
inline double D(const std::string& s) {
    return s.back() == 'f' ? std::stof(s) : std::stod(s);
}
inline float F(const std::string& s) {
    return static_cast<float>(D(s));
}
inline int I(const std::string& s) {
    return std::stoi(s, nullptr, 0);
}

// Blank-separated numbers of one cell, as floats.
inline std::vector<float> Floats(const std::string& s) {
    std::vector<float> v;
    std::stringstream in(s);
    for (std::string x; in >> x;) v.push_back(F(x));
    return v;
}

// Blank-separated points "x,y" of one cell.
inline TPointList Points(const std::string& s) {
    TPointList points;
    std::stringstream in(s);
    for (std::string p; in >> p;) points.push_back({F(p), F(p.substr(p.find(',') + 1))});
    return points;
}

}  // namespace table

// Golden traces: tests/lumgl/golden/<name>.txt. Regenerate all of them with
//     LUMORA_UPDATE_GOLDEN=1 ctest --test-dir <build> -R "Golden|DocsDiagram"
// and read the diff before committing: a golden is only as good as the reasoning that
// accepted it.
namespace golden {

inline bool Updating() {
    const char* env = std::getenv("LUMORA_UPDATE_GOLDEN");
    return env && std::string(env) == "1";
}

inline void Expect(const std::string& name, const std::string& trace) {
    const std::string path = std::string(LUMORA_TEST_DATA) + "/lumgl/golden/" + name + ".txt";
    if (Updating()) {
        std::ofstream(path, std::ios::binary) << trace;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden " << path << " (LUMORA_UPDATE_GOLDEN=1 writes it)";
    std::stringstream buffer;
    buffer << in.rdbuf();
    EXPECT_EQ(buffer.str(), trace) << "golden " << path;
}

}  // namespace golden

// The integer code a lumgl call fails with, or 0 when it does not fail.
inline int CodeOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const lumgl::PlotError& e) {
        return e.code();
    }
    return 0;
}

// Generated spectra and diagrams for the drawing tests.
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

// A few Gaussian lines over a sloping background with deterministic noise.
inline TPointList Generate(std::size_t count, float from = 200.0f, float to = 800.0f,
                           std::uint32_t seed = 1) {
    TPointList points;
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

// A found line identified as the species of `labels` ("species wavelength;value", a star
// after a candidate of several), drawn in `colors`; the records hold the value, then J 2 and
// 1 in fields 6 and 7, as the identification stores them.
inline CLine Identified(float x, float y, const std::vector<std::string>& labels,
                        const std::vector<TColor>& colors) {
    CLine line(x, y);
    line.speciesLabels = labels;
    line.speciesColors = colors;
    for (std::string value : labels) {
        value = value.substr(value.find(';') + 1, value.find('*') - value.find(';') - 1);
        line.speciesRecords.push_back(value + ";x;x;x;x;2;1");
    }
    return line;
}

}  // namespace spectra
