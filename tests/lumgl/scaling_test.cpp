// CalculateScaling with its logarithmic fix-ups, error codes and degenerate ranges. The
// frame is the one of a 640 x 480 plot with font 16: origin (80, 445), bottomRight
// (624, 445), topLeft (80, 16): 544 pixels wide, 429 high.
#include "Support.h"

SPlotInfo Frame(const std::string& modes, float x0, float x1, float y0, float y1) {
    SPlotInfo info;
    info.drawFlags =
        static_cast<std::uint16_t>(127 & ~(modes.starts_with("log") ? kDrawXLinear : 0) &
                                   ~(modes.ends_with("log") ? kDrawYLinear : 0));
    spectra::SetFrame(info, 80, 445, 624, 16);
    spectra::SetRange(info, x0, x1, y0, y1);
    return info;
}

TEST(CalculateScaling, ScalesAndTheLogarithmicFixUps) {
    for (const table::Row& c : table::Read("calculate_scaling.tsv")) {
        SCOPED_TRACE(::testing::PrintToString(c));
        SPlotInfo info =
            Frame(c[0], table::F(c[1]), table::F(c[2]), table::F(c[3]), table::F(c[4]));
        CalculateScaling(info);
        const float got[] = {info.xMin, info.xMax, info.yMin, info.yMax, info.xScale, info.yScale};
        for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(got[i], table::F(c[5 + i])) << c.at(5 + i);
    }
}

TEST(CalculateScaling, RefusedLimitsRaiseTheirCodeAndKeepTheFieldsAnEmptyFrameScalesZero) {
    SPlotInfo info = Frame("log lin", 0.0f, 100.0f, 0.0f, 1.0f);
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
    info = Frame("lin log", 400.0f, 700.0f, -10.0f, 0.0f);
    info.yScale = 9.0f;
    EXPECT_EQ(CodeOf([&] { CalculateScaling(info); }), 2);
    EXPECT_FLOAT_EQ(info.xScale, 544.0f / 300.0f);
    EXPECT_EQ(info.yMin, -10.0f);
    EXPECT_EQ(info.yMax, 0.0f);
    EXPECT_EQ(info.yScale, 9.0f);
    // An empty frame: zero scales, and the reverse mapping stays finite.
    info = Frame("lin lin", 0.0f, 10.0f, 0.0f, 10.0f);
    info.bottomRight = info.topLeft = info.origin;
    CalculateScaling(info);
    EXPECT_EQ(info.xScale, 0.0f);
    EXPECT_EQ(info.yScale, 0.0f);
    EXPECT_EQ(lumgl::DeviceToDataX(300, info), 0.0);
}
