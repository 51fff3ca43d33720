// DataToMousePoint, MousePointToData, ZoomRectToValues and DisplaceDataPoint.
#include <map>

#include "Support.h"

// One pixel per unit on both axes: device x = data x, device y = 100 - data y; x
// logarithmic (100 pixels a decade from 1) when asked.
SPlotInfo UnitInfo(bool logX = false) {
    SPlotInfo info;
    info.drawFlags = logX ? 127 & ~kDrawXLinear : 127;
    spectra::SetFrame(info, 0, 100, 500, 0);
    spectra::SetRange(info, logX ? 1.0f : 0.0f, 500.0f, 0.0f, 100.0f);
    info.xScale = logX ? 100.0f : 1.0f;
    info.yScale = -1.0f;
    return info;
}

TEST(DataToMousePoint, RoundingRuleOffsetsScalesAndLogarithmicAxes) {
    SPlotInfo log = UnitInfo(true);
    log.drawFlags = 127 & ~(kDrawXLinear | kDrawYLinear);
    log.origin = {50, 400};
    log.yMin = 0.01f;
    log.yScale = -100.0f;
    for (const table::Row& c : table::Read("data_to_mouse_point.tsv")) {
        const bool x = c[0] == "x";
        const SDevicePoint p =
            c[0] == "log" ? DataToMousePoint(table::Points(c[1])[0], log)
                          : DataToMousePoint({x ? table::F(c[1]) : 0.0f, x ? 0.0f : table::F(c[1])},
                                             UnitInfo());
        const std::string got =
            c[0] == "round"   ? std::to_string(lumgl::RoundToDevice(table::D(c[1])))
            : c[0] == "trunc" ? std::to_string(lumgl::TruncateToDevice(table::D(c[1])))
            : c[0] == "log"   ? std::to_string(p.x) + "," + std::to_string(p.y)
                              : std::to_string(x ? p.x : p.y);
        EXPECT_EQ(got, c[2]) << c[0] << " " << c[1];
    }
    EXPECT_EQ(lumgl::DataToDevicePointTruncated({-2.3f, 89.5f}, UnitInfo()),
              (SDevicePoint{-2, 10}));
    SPlotInfo info = UnitInfo();
    info.origin = {80, 445};
    spectra::SetRange(info, 400.0f, 500.0f, -10.0f, 100.0f);
    info.xScale = 2.0f;
    info.yScale = -0.5f;
    // x: (450 - 400) * 2 + 80 = 180; y: (30 + 10) * -0.5 + 445 = 425.
    EXPECT_EQ(DataToMousePoint({450.0f, 30.0f}, info), (SDevicePoint{180, 425}));
    // A range CalculateScaling would refuse raises its code here too.
    log.xMin = 0.0f;
    EXPECT_EQ(CodeOf([&] { DataToMousePoint({1.0f, 1.0f}, log); }), 1);
    log.xMin = 1.0f;
    log.yMin = -1.0f;
    EXPECT_EQ(CodeOf([&] { DataToMousePoint({1.0f, 1.0f}, log); }), 2);
}

TEST(MousePointToData, NearestXAndHalfwayTheLaterPoint) {
    const std::map<std::string, TPointList> curves = {{"rising", {{10, 1}, {20, 2}, {30, 3}}},
                                                      {"falling", {{30, 3}, {20, 2}, {10, 1}}}};
    for (const table::Row& c : table::Read("mouse_point_to_data.tsv")) {
        const float x = table::F(c[3]);
        EXPECT_EQ(MousePointToData({table::I(c[0]), table::I(c[1])}, curves.at(c[2]), UnitInfo()),
                  (TPointF{x, x / 10.0f}))
            << ::testing::PrintToString(c);
    }
    // Logarithmic x: px 100 -> 1 * 10^(100 / 100) = 10.
    EXPECT_EQ(
        MousePointToData({100, 0}, {{5.0f, 0.0f}, {9.0f, 1.0f}, {12.0f, 2.0f}}, UnitInfo(true)),
        (TPointF{9.0f, 1.0f}));
    EXPECT_EQ(CodeOf([] { MousePointToData({1, 1}, {}, UnitInfo()); }), 3);
}

TEST(ZoomRectToValues, RectanglesBecomeTheRange) {
    for (const table::Row& c : table::Read("zoom_rect.tsv")) {
        SCOPED_TRACE(::testing::PrintToString(c));
        SPlotInfo info = UnitInfo(c[0] == "log");
        if (c[0] == "log") info.bottomRight.x = 300;
        const std::vector<float> before = table::Floats(c[1]), after = table::Floats(c[3]);
        spectra::SetRange(info, before[0], before[1], before[2], before[3]);
        std::stringstream rects(c[2]);
        for (SDeviceRect r; rects >> r.left >> r.top >> r.right >> r.bottom; rects.ignore(2))
            ZoomRectToValues(r, info);
        const std::array<float, 4> range = spectra::RangeOf(info);
        for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(range[i], after[i]) << i;
        std::stringstream scales(c[4]);
        for (float* scale : {&info.xScale, &info.yScale}) {
            std::string s;
            scales >> s;
            if (s != "-") {
                EXPECT_FLOAT_EQ(*scale, table::F(s));
            }
        }
    }
    // A range CalculateScaling refuses raises its code.
    SPlotInfo info = UnitInfo(true);
    spectra::SetRange(info, -1.0f, 10.0f, 0.0f, 100.0f);
    EXPECT_EQ(CodeOf([&] { ZoomRectToValues({10, 10, 50, 50}, info); }), 1);
}

TEST(DisplaceDataPoint, StepsTowardsLargerXAndNeverPastAnEnd) {
    const std::map<std::string, TPointList> curves = {
        {"up", {{10, 1}, {20, 2}, {30, 3}, {40, 4}}},
        {"down", {{40, 4}, {30, 3}, {20, 2}, {10, 1}}},
        {"loop", {{10, 1}, {20, 2}, {30, 3}, {10, 4}}}};
    for (const table::Row& c : table::Read("displace_data_point.tsv")) {
        const TPointF p =
            DisplaceDataPoint({table::F(c[0]), 0.0f}, curves.at(c[1]), table::I(c[2]));
        const float x = table::F(c[3]);
        EXPECT_EQ(p, (TPointF{x, c[1] == "loop" ? 2.0f : x / 10.0f}))
            << ::testing::PrintToString(c);
    }
    EXPECT_EQ(CodeOf([] { DisplaceDataPoint({1.0f, 1.0f}, {}, 1); }), 3);
}
