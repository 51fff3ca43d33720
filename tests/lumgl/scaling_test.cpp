// CalculateScaling with its logarithmic fix-ups, error codes and degenerate ranges. The
// frame is the one of a 640 x 480 plot with font 16: origin (80, 445), bottomRight
// (624, 445), topLeft (80, 16): 544 pixels wide, 429 high.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "PlotErrorCode.h"
#include "lumgl/lumgl.h"

namespace {

SPlotInfo Frame(std::uint16_t drawFlags, float x0, float x1, float y0, float y1) {
    SPlotInfo info;
    info.drawFlags = drawFlags;
    info.origin = {80, 445};
    info.bottomRight = {624, 445};
    info.topLeft = {80, 16};
    info.topRight = {624, 16};
    info.xMin = x0;
    info.xMax = x1;
    info.yMin = y0;
    info.yMax = y1;
    return info;
}

constexpr std::uint16_t kLinLin = 127;
constexpr std::uint16_t kLogLin = 127 & ~kDrawXLinear;
constexpr std::uint16_t kLinLog = 127 & ~kDrawYLinear;
constexpr std::uint16_t kLogLog = kLogLin & kLinLog;

TEST(CalculateScaling, ScalesAndTheLogarithmicFixUps) {
    // The limits afterwards and the scales: pixels per unit or per decade, y negative as
    // device y grows downwards. A log y range with one limit <= 0 replaces that limit by the
    // other over f: d = span; d > 10: f = 10^n until d / f <= 10; d < 1: f = 0.1^n until
    // d / f >= 1, then 10 / f; 1 <= d <= 10: f = 10 (one decade). Equal limits are widened.
    const struct {
        std::uint16_t flags;
        float x0, x1, y0, y1;
        float xMin, xMax, yMin, yMax, xScale, yScale;
    } cases[] = {
        {kLinLin, 400, 700, 0, 1000, 400, 700, 0, 1000, 544.0f / 300, -0.429f},
        {kLinLin, 700, 400, 0, 1000, 700, 400, 0, 1000, -544.0f / 300, -0.429f},
        {kLogLog, 1, 1000, 1, 100, 1, 1000, 1, 100, 544.0f / 3, -214.5f},
        {kLinLog, 0, 10, -5, 200, 0, 10, 2, 200, 54.4f, -214.5f},       // d = 205, f = 100
        {kLinLog, 0, 10, 0, 2000, 0, 10, 2, 2000, 54.4f, -143},         // f = 1000
        {kLinLog, 0, 10, -0.2f, 0.5f, 0, 10, 0.005f, 0.5f, 54.4f, -214.5f},  // f = 10 / 0.1
        {kLinLog, 0, 10, -1, 4, 0, 10, 0.4f, 4, 54.4f, -429},
        {kLinLog, 0, 10, 0, 1, 0, 10, 0.1f, 1, 54.4f, -429},           // d = 1 exactly
        {kLinLog, 0, 10, 0, 10, 0, 10, 1, 10, 54.4f, -429},            // d = 10 exactly
        {kLinLog, 0, 10, 200, -5, 0, 10, 200, 2, 54.4f, 214.5f},       // upside down
        {kLinLin, 400, 700, -10, -1, 400, 700, -10, -1, 544.0f / 300, -429.0f / 9},
        {kLinLin, 300, 300, 2, 2, 295, 305, -3, 7, 54.4f, -42.9f},
        {kLogLog, 10, 10, 5, 5, 1, 100, 0.5f, 50, 272, -214.5f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.flags << ": " << c.x0 << " " << c.x1 << " " << c.y0 << " " << c.y1);
        SPlotInfo info = Frame(c.flags, c.x0, c.x1, c.y0, c.y1);
        CalculateScaling(info);
        EXPECT_FLOAT_EQ(info.xMin, c.xMin);
        EXPECT_FLOAT_EQ(info.xMax, c.xMax);
        EXPECT_FLOAT_EQ(info.yMin, c.yMin);
        EXPECT_FLOAT_EQ(info.yMax, c.yMax);
        EXPECT_FLOAT_EQ(info.xScale, c.xScale);
        EXPECT_FLOAT_EQ(info.yScale, c.yScale);
    }
}

TEST(CalculateScaling, LogarithmicLimitsNotAboveZeroRaiseTheirCodeAndKeepTheFields) {
    SPlotInfo info = Frame(kLogLin, 0.0f, 100.0f, 0.0f, 1.0f);
    info.xScale = 7.0f;
    info.yScale = 8.0f;
    EXPECT_EQ(CodeOf([&] { CalculateScaling(info); }), 1);
    EXPECT_EQ(info.xScale, 7.0f);
    EXPECT_EQ(info.yScale, 8.0f);
    info.xMin = 10.0f;
    info.xMax = -1.0f;
    EXPECT_EQ(CodeOf([&] { CalculateScaling(info); }), 1);
    info.xMax = 1000.0f;
    EXPECT_EQ(CodeOf([&] { CalculateScaling(info); }), 0);

    // Code 2 needs both y limits <= 0; x was computed before, the y fields stay.
    info = Frame(kLinLog, 400.0f, 700.0f, -10.0f, 0.0f);
    info.yScale = 9.0f;
    EXPECT_EQ(CodeOf([&] { CalculateScaling(info); }), 2);
    EXPECT_FLOAT_EQ(info.xScale, 544.0f / 300.0f);
    EXPECT_EQ(info.yMin, -10.0f);
    EXPECT_EQ(info.yMax, 0.0f);
    EXPECT_EQ(info.yScale, 9.0f);
}

TEST(CalculateScaling, EmptyFrameGivesZeroScales) {
    SPlotInfo info = Frame(kLinLin, 0.0f, 10.0f, 0.0f, 10.0f);
    info.bottomRight = info.origin;
    info.topLeft = info.origin;
    CalculateScaling(info);
    EXPECT_EQ(info.xScale, 0.0f);
    EXPECT_EQ(info.yScale, 0.0f);
    // and the reverse mapping stays finite
    EXPECT_EQ(lumgl::DeviceToDataX(300, info), 0.0);
}

}  // namespace
