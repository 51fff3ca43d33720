// CalculateScaling with its logarithmic fix-ups, error codes and degenerate ranges
//. The frame is the one of a 640 x 480 plot with font 16: origin (80, 445),
// bottomRight (624, 445), topLeft (80, 16): 544 pixels wide, 429 high.
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

TEST(CalculateScaling, LinearScalesArePixelsPerUnit) {
    SPlotInfo info = Frame(kLinLin, 400.0f, 700.0f, 0.0f, 1000.0f);
    CalculateScaling(info);
    EXPECT_FLOAT_EQ(info.xScale, 544.0f / 300.0f);
    EXPECT_FLOAT_EQ(info.yScale, -0.429f);  // negative: device y grows downwards
}

TEST(CalculateScaling, InvertedXRangeGivesANegativeXScale) {
    SPlotInfo info = Frame(kLinLin, 700.0f, 400.0f, 0.0f, 1000.0f);
    CalculateScaling(info);
    EXPECT_FLOAT_EQ(info.xScale, -544.0f / 300.0f);
}

TEST(CalculateScaling, LogarithmicScalesArePixelsPerDecade) {
    SPlotInfo info = Frame(kLogLin & kLinLog, 1.0f, 1000.0f, 1.0f, 100.0f);
    CalculateScaling(info);
    EXPECT_FLOAT_EQ(info.xScale, 544.0f / 3.0f);
    EXPECT_FLOAT_EQ(info.yScale, -429.0f / 2.0f);
}

TEST(CalculateScaling, LogXWithLimitNotAboveZeroRaisesCode1AndWritesNothing) {
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
}

TEST(CalculateScaling, LogYOverMinus5To200PutsTheLowerLimitAt2) {
    // d = 205, f = 100: yMin = 200 / 100 = 2; two decades over 429 pixels.
    SPlotInfo info = Frame(kLinLog, 0.0f, 10.0f, -5.0f, 200.0f);
    CalculateScaling(info);
    EXPECT_FLOAT_EQ(info.yMin, 2.0f);
    EXPECT_FLOAT_EQ(info.yMax, 200.0f);
    EXPECT_FLOAT_EQ(info.yScale, -214.5f);
}

TEST(CalculateScaling, LogYWithZeroLowerLimitAndLargeSpan) {
    // d = 2000: f = 1000, yMin = 2.
    SPlotInfo info = Frame(kLinLog, 0.0f, 10.0f, 0.0f, 2000.0f);
    CalculateScaling(info);
    EXPECT_FLOAT_EQ(info.yMin, 2.0f);
    EXPECT_FLOAT_EQ(info.yScale, -143.0f);
}

TEST(CalculateScaling, LogYWithSpanBelowOne) {
    // d = 0.7: f = 0.1 (7 >= 1), then f = 10 / 0.1 = 100; yMin = 0.5 / 100 = 0.005.
    SPlotInfo info = Frame(kLinLog, 0.0f, 10.0f, -0.2f, 0.5f);
    CalculateScaling(info);
    EXPECT_FLOAT_EQ(info.yMin, 0.005f);
    EXPECT_FLOAT_EQ(info.yScale, -214.5f);
}

TEST(CalculateScaling, LogYWithSpanBetween1And10TakesOneDecade) {
    // The loop leaves f at 1 (an empty range, infinite scale);
    // lumgl takes f = 10.
    SPlotInfo info = Frame(kLinLog, 0.0f, 10.0f, -1.0f, 4.0f);
    CalculateScaling(info);
    EXPECT_FLOAT_EQ(info.yMin, 0.4f);
    EXPECT_FLOAT_EQ(info.yScale, -429.0f);
    for (float top : {1.0f, 10.0f}) {  // d = 1 and d = 10 exactly
        info = Frame(kLinLog, 0.0f, 10.0f, 0.0f, top);
        CalculateScaling(info);
        EXPECT_FLOAT_EQ(info.yMin, top / 10.0f);
        EXPECT_TRUE(std::isfinite(info.yScale));
        EXPECT_FLOAT_EQ(info.yScale, -429.0f);
    }
}

TEST(CalculateScaling, LogYUpsideDownReplacesTheUpperLimit) {
    // yMax <= 0 < yMin: d = 205, f = 100, yMax = 200 / 100 = 2; log10(2 / 200) = -2.
    SPlotInfo info = Frame(kLinLog, 0.0f, 10.0f, 200.0f, -5.0f);
    CalculateScaling(info);
    EXPECT_FLOAT_EQ(info.yMin, 200.0f);
    EXPECT_FLOAT_EQ(info.yMax, 2.0f);
    EXPECT_FLOAT_EQ(info.yScale, 214.5f);
}

TEST(CalculateScaling, LogYWithBothLimitsNotAboveZeroRaisesCode2) {
    SPlotInfo info = Frame(kLinLog, 400.0f, 700.0f, -10.0f, 0.0f);
    info.yScale = 9.0f;
    EXPECT_EQ(CodeOf([&] { CalculateScaling(info); }), 2);
    // x was computed before; the y fields stay.
    EXPECT_FLOAT_EQ(info.xScale, 544.0f / 300.0f);
    EXPECT_EQ(info.yMin, -10.0f);
    EXPECT_EQ(info.yMax, 0.0f);
    EXPECT_EQ(info.yScale, 9.0f);
}

TEST(CalculateScaling, LogYAcceptsANegativeLimitBesideAPositiveOne) {
    // Code 2 needs both limits <= 0; a linear y axis never fails.
    SPlotInfo info = Frame(kLinLin, 400.0f, 700.0f, -10.0f, -1.0f);
    EXPECT_EQ(CodeOf([&] { CalculateScaling(info); }), 0);
}

TEST(CalculateScaling, EqualLinearLimitsAreWidenedNotInfinite) {
    SPlotInfo info = Frame(kLinLin, 300.0f, 300.0f, 2.0f, 2.0f);
    CalculateScaling(info);
    EXPECT_EQ(info.xMin, 295.0f);
    EXPECT_EQ(info.xMax, 305.0f);
    EXPECT_FLOAT_EQ(info.xScale, 54.4f);
    EXPECT_EQ(info.yMin, -3.0f);
    EXPECT_EQ(info.yMax, 7.0f);
    EXPECT_FLOAT_EQ(info.yScale, -42.9f);
}

TEST(CalculateScaling, EqualLogarithmicLimitsAreWidenedByADecade) {
    SPlotInfo info = Frame(kLogLin & kLinLog, 10.0f, 10.0f, 5.0f, 5.0f);
    CalculateScaling(info);
    EXPECT_FLOAT_EQ(info.xMin, 1.0f);
    EXPECT_FLOAT_EQ(info.xMax, 100.0f);
    EXPECT_FLOAT_EQ(info.xScale, 272.0f);
    EXPECT_FLOAT_EQ(info.yMin, 0.5f);
    EXPECT_FLOAT_EQ(info.yMax, 50.0f);
    EXPECT_FLOAT_EQ(info.yScale, -214.5f);
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
