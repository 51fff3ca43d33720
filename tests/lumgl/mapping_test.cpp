// DataToMousePoint, MousePointToData, ZoomRectToValues and DisplaceDataPoint.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "PlotErrorCode.h"
#include "lumgl/lumgl.h"

namespace {

// One pixel per unit on both axes: device x = data x, device y = 100 - data y.
SPlotInfo UnitInfo() {
    SPlotInfo info;
    info.drawFlags = 127;
    info.origin = {0, 100};
    info.bottomRight = {500, 100};
    info.topLeft = {0, 0};
    info.topRight = {500, 0};
    info.xMin = 0.0f;
    info.xMax = 500.0f;
    info.yMin = 0.0f;
    info.yMax = 100.0f;
    info.xScale = 1.0f;
    info.yScale = -1.0f;
    return info;
}

TEST(DataToMousePoint, RoundingRule) {
    const SPlotInfo info = UnitInfo();
    EXPECT_EQ(DataToMousePoint({10.5f, 0.0f}, info).x, 11);
    EXPECT_EQ(DataToMousePoint({0.7f, 0.0f}, info).x, 0);
    EXPECT_EQ(DataToMousePoint({-2.3f, 0.0f}, info).x, -3);
    EXPECT_EQ(DataToMousePoint({10.25f, 0.0f}, info).x, 10);
    EXPECT_EQ(DataToMousePoint({1.5f, 0.0f}, info).x, 2);
    EXPECT_EQ(DataToMousePoint({0.5f, 0.0f}, info).x, 0);  // t = 0: down
    EXPECT_EQ(DataToMousePoint({-2.7f, 0.0f}, info).x, -3);
    EXPECT_EQ(DataToMousePoint({-0.5f, 0.0f}, info).x, -1);
    // y: 100 - 89.5 = 10.5 -> 11; 100 - 99.3 = 0.7 -> 0; 100 - 102.3 = -2.3 -> -3.
    EXPECT_EQ(DataToMousePoint({0.0f, 89.5f}, info).y, 11);
    EXPECT_EQ(DataToMousePoint({0.0f, 99.25f}, info).y, 0);
    EXPECT_EQ(DataToMousePoint({0.0f, 102.25f}, info).y, -3);
}

TEST(DataToMousePoint, RoundingHelpers) {
    EXPECT_EQ(lumgl::RoundToDevice(10.5), 11);
    EXPECT_EQ(lumgl::RoundToDevice(10.49), 10);
    EXPECT_EQ(lumgl::RoundToDevice(0.7), 0);
    EXPECT_EQ(lumgl::RoundToDevice(-2.3), -3);
    EXPECT_EQ(lumgl::RoundToDevice(-2.0), -2);
    EXPECT_EQ(lumgl::RoundToDevice(1e12), INT_MAX);
    EXPECT_EQ(lumgl::RoundToDevice(-1e12), INT_MIN);
    EXPECT_EQ(lumgl::TruncateToDevice(-2.3), -2);
    EXPECT_EQ(lumgl::TruncateToDevice(10.9), 10);
    EXPECT_EQ(lumgl::DataToDevicePointTruncated({-2.3f, 89.5f}, UnitInfo()),
              (SDevicePoint{-2, 10}));
}

TEST(DataToMousePoint, OffsetsAndScales) {
    SPlotInfo info = UnitInfo();
    info.origin = {80, 445};
    info.xMin = 400.0f;
    info.xScale = 2.0f;
    info.yMin = -10.0f;
    info.yScale = -0.5f;
    // x: (450 - 400) * 2 + 80 = 180; y: (30 + 10) * -0.5 + 445 = 425.
    EXPECT_EQ(DataToMousePoint({450.0f, 30.0f}, info), (SDevicePoint{180, 425}));
}

TEST(DataToMousePoint, LogarithmicAxes) {
    SPlotInfo info = UnitInfo();
    info.drawFlags = 127 & ~(kDrawXLinear | kDrawYLinear);
    info.origin = {50, 400};
    info.xMin = 1.0f;
    info.xScale = 100.0f;
    info.yMin = 0.01f;
    info.yScale = -100.0f;
    EXPECT_EQ(DataToMousePoint({100.0f, 1.0f}, info), (SDevicePoint{250, 200}));
    // y <= 0 on a logarithmic axis sits at origin.y; so does x <= 0 (chosen likewise).
    EXPECT_EQ(DataToMousePoint({10.0f, -3.0f}, info), (SDevicePoint{150, 400}));
    EXPECT_EQ(DataToMousePoint({0.0f, 0.1f}, info), (SDevicePoint{50, 300}));
    // A range CalculateScaling would refuse raises its code here too.
    info.xMin = 0.0f;
    EXPECT_EQ(CodeOf([&] { DataToMousePoint({1.0f, 1.0f}, info); }), 1);
    info.xMin = 1.0f;
    info.yMin = -1.0f;
    EXPECT_EQ(CodeOf([&] { DataToMousePoint({1.0f, 1.0f}, info); }), 2);
}

const TPointList kRising{{10.0f, 1.0f}, {20.0f, 2.0f}, {30.0f, 3.0f}};
const TPointList kFalling{{30.0f, 3.0f}, {20.0f, 2.0f}, {10.0f, 1.0f}};

TEST(MousePointToData, NearestXAndHalfwayTheLaterPoint) {
    const SPlotInfo info = UnitInfo();
    // Device y plays no part; beyond the ends the end points; on a falling curve halfway
    // between 30 and 20 gives the point where the walk stopped, 20 (later in the list).
    const struct {
        SDevicePoint at;
        const TPointList* curve;
        float x;
    } cases[] = {{{15, 50}, &kRising, 20},  {{14, 50}, &kRising, 10},  {{16, 50}, &kRising, 20},
                 {{20, 50}, &kRising, 20},  {{24, -1000}, &kRising, 20}, {{24, 5000}, &kRising, 20},
                 {{2, 0}, &kRising, 10},    {{400, 0}, &kRising, 30},  {{25, 0}, &kFalling, 20},
                 {{26, 0}, &kFalling, 30},  {{24, 0}, &kFalling, 20},  {{40, 0}, &kFalling, 30},
                 {{0, 0}, &kFalling, 10}};
    for (const auto& c : cases)
        EXPECT_EQ(MousePointToData(c.at, *c.curve, info), (TPointF{c.x, c.x / 10.0f}))
            << c.at.x << "," << c.at.y;
}

TEST(MousePointToData, LogarithmicXAxisAndNoPoints) {
    SPlotInfo info = UnitInfo();
    info.drawFlags = 127 & ~kDrawXLinear;
    info.xMin = 1.0f;
    info.xScale = 100.0f;
    // px 100 -> 1 * 10^(100 / 100) = 10.
    const TPointList pts{{5.0f, 0.0f}, {9.0f, 1.0f}, {12.0f, 2.0f}};
    EXPECT_EQ(MousePointToData({100, 0}, pts, info), (TPointF{9.0f, 1.0f}));
    EXPECT_EQ(CodeOf([] { MousePointToData({1, 1}, {}, UnitInfo()); }), 3);
}

TEST(ZoomRectToValues, RectangleBecomesTheRange) {
    SPlotInfo info = UnitInfo();
    // a = 100, b = 300; d (top 20) = 80, c (bottom 90) = 10.
    ZoomRectToValues({100, 20, 300, 90}, info);
    EXPECT_FLOAT_EQ(info.xMin, 100.0f);
    EXPECT_FLOAT_EQ(info.xMax, 300.0f);
    EXPECT_FLOAT_EQ(info.yMin, 10.0f);
    EXPECT_FLOAT_EQ(info.yMax, 80.0f);
    EXPECT_FLOAT_EQ(info.xScale, 2.5f);  // 500 / 200
    EXPECT_FLOAT_EQ(info.yScale, -100.0f / 70.0f);
}

TEST(ZoomRectToValues, Threshold) {
    // Around 1e6 one pixel is one unit: | |b| - |a| | / (|a| + |b|) * 0.5 is 9.99998e-7 for
    // 4 pixels (the range stays) and 1.25e-6 for 5 (it changes).
    SPlotInfo info = UnitInfo();
    info.xMin = 1e6f;
    info.xMax = 1e6f + 500.0f;
    ZoomRectToValues({0, 0, 4, 100}, info);
    EXPECT_EQ(info.xMin, 1e6f);
    EXPECT_EQ(info.xMax, 1e6f + 500.0f);
    EXPECT_FLOAT_EQ(info.yMin, 0.0f);  // y: c = 0, d = 100 changes (to the same values)
    ZoomRectToValues({0, 0, 5, 100}, info);
    EXPECT_EQ(info.xMin, 1e6f);
    EXPECT_EQ(info.xMax, 1e6f + 5.0f);
    EXPECT_FLOAT_EQ(info.xScale, 100.0f);
}

TEST(ZoomRectToValues, FlatRectangleKeepsThatAxis) {
    SPlotInfo info = UnitInfo();
    ZoomRectToValues({200, 30, 200, 70}, info);  // no width
    EXPECT_EQ(info.xMin, 0.0f);
    EXPECT_EQ(info.xMax, 500.0f);
    EXPECT_FLOAT_EQ(info.yMin, 30.0f);
    EXPECT_FLOAT_EQ(info.yMax, 70.0f);
    ZoomRectToValues({100, 50, 400, 50}, info);  // no height
    EXPECT_FLOAT_EQ(info.xMin, 100.0f);
    EXPECT_FLOAT_EQ(info.yMin, 30.0f);
    EXPECT_FLOAT_EQ(info.yMax, 70.0f);
}

TEST(ZoomRectToValues, RangeSymmetricAboutZeroIsARealZoom) {
    // a = -100, b = 100 have equal magnitudes; the zoom is 200 units wide all the same.
    SPlotInfo info = UnitInfo();
    info.xMin = -250.0f;
    info.xMax = 250.0f;
    ZoomRectToValues({150, 0, 350, 100}, info);
    EXPECT_FLOAT_EQ(info.xMin, -100.0f);
    EXPECT_FLOAT_EQ(info.xMax, 100.0f);
}

TEST(ZoomRectToValues, LogarithmicAxis) {
    SPlotInfo info = UnitInfo();
    info.drawFlags = 127 & ~kDrawXLinear;
    info.bottomRight = {300, 100};
    info.xMin = 1.0f;
    info.xMax = 1000.0f;
    info.xScale = 100.0f;
    ZoomRectToValues({100, 0, 200, 100}, info);
    EXPECT_FLOAT_EQ(info.xMin, 10.0f);
    EXPECT_FLOAT_EQ(info.xMax, 100.0f);
    EXPECT_FLOAT_EQ(info.xScale, 300.0f);
}

TEST(ZoomRectToValues, RaisesTheCodesOfCalculateScaling) {
    SPlotInfo info = UnitInfo();
    info.drawFlags = 127 & ~kDrawXLinear;
    info.xMin = -1.0f;
    info.xMax = 10.0f;
    EXPECT_EQ(CodeOf([&] { ZoomRectToValues({10, 10, 50, 50}, info); }), 1);
}

const TPointList kUp{{10.0f, 1.0f}, {20.0f, 2.0f}, {30.0f, 3.0f}, {40.0f, 4.0f}};
const TPointList kDown{{40.0f, 4.0f}, {30.0f, 3.0f}, {20.0f, 2.0f}, {10.0f, 1.0f}};
const TPointList kLoop{{10.0f, 1.0f}, {20.0f, 2.0f}, {30.0f, 3.0f}, {10.0f, 4.0f}};

TEST(DisplaceDataPoint, StepsTowardsLargerXAndNeverPastAnEnd) {
    // The walk stops at the first point not before p.x (on a falling curve, not after it);
    // positive steps go to larger x in both directions of the data. Run off the end, the walk
    // returns the last point whatever the steps; equal first and last x make no steps.
    const struct {
        float from;
        const TPointList* curve;
        int steps;
        float x;
    } cases[] = {{20, &kUp, 1, 30},         {20, &kUp, -1, 10},       {20, &kUp, 2, 40},
                 {20, &kUp, 0, 20},         {25, &kUp, 0, 30},        {25, &kUp, 1, 40},
                 {25, &kUp, -1, 20},        {20, &kDown, 1, 30},      {20, &kDown, -1, 10},
                 {20, &kDown, 2, 40},       {25, &kDown, 0, 20},      {40, &kUp, 1, 40},
                 {10, &kUp, -1, 10},        {20, &kUp, 100, 40},      {30, &kUp, -100, 10},
                 {40, &kDown, 1, 40},       {10, &kDown, -1, 10},     {20, &kDown, -7, 10},
                 {20, &kUp, INT_MIN, 10},   {20, &kUp, INT_MAX, 40},  {5, &kUp, 1, 20},
                 {5, &kUp, -1, 10},         {50, &kDown, -1, 30},     {50, &kUp, -3, 40},
                 {50, &kUp, 3, 40},         {5, &kDown, -3, 10},      {5, &kDown, 3, 10},
                 {15, &kLoop, 1, 20},       {15, &kLoop, -1, 20}};
    for (const auto& c : cases) {
        const TPointF p = DisplaceDataPoint({c.from, 0.0f}, *c.curve, c.steps);
        EXPECT_EQ(p.x, c.x) << c.from << " by " << c.steps;
        EXPECT_EQ(p.y, c.curve == &kLoop ? 2.0f : c.x / 10.0f) << c.from << " by " << c.steps;
    }
    EXPECT_EQ(CodeOf([] { DisplaceDataPoint({1.0f, 1.0f}, {}, 1); }), 3);
}

}  // namespace
