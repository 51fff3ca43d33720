// Font choice, margin and frame geometry, worked by hand.
#include <gtest/gtest.h>

#include "lumgl/lumgl.h"

namespace {

TEST(PlotSize, HeightUnlessTheRectangleIsNarrow) {
    // 1.5 * 350 = 525 < 1000: s = H.
    EXPECT_EQ(lumgl::PlotSize({0, 0, 1000, 350}), 350);
    // 1.5 * 400 = 600 > 525: s = 525 * 2 / 3 = 350; 524 * 2 / 3 = 349 (integer division).
    EXPECT_EQ(lumgl::PlotSize({0, 0, 525, 400}), 350);
    EXPECT_EQ(lumgl::PlotSize({0, 0, 524, 400}), 349);
    // 1.5 * 200 = 300 is not > 300: s = H.
    EXPECT_EQ(lumgl::PlotSize({0, 0, 300, 200}), 200);
    EXPECT_EQ(lumgl::PlotSize({0, 0, 299, 200}), 199);
    // Only width and height count, not the position.
    EXPECT_EQ(lumgl::PlotSize({100, 50, 1100, 400}), 350);
}

TEST(FontChoice, ThresholdsAt200And350) {
    EXPECT_EQ(lumgl::FontHeightForSize(350), 16);
    EXPECT_EQ(lumgl::FontHeightForSize(349), 14);
    EXPECT_EQ(lumgl::FontHeightForSize(200), 14);
    EXPECT_EQ(lumgl::FontHeightForSize(199), 12);
    EXPECT_EQ(lumgl::FontHeightForSize(-10), 12);
    EXPECT_EQ(lumgl::MarginForSize(350), 5);
    EXPECT_EQ(lumgl::MarginForSize(349), 4);
    EXPECT_EQ(lumgl::MarginForSize(200), 4);
    EXPECT_EQ(lumgl::MarginForSize(199), 3);
}

TEST(FontChoice, ReplacesTheFontByArialOfTheChosenHeight) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.font.italic = true;
    info.plotRect = {0, 0, 1000, 350};
    lumgl::ChoosePlotFont(info);
    EXPECT_EQ(info.font.face, "Arial");
    EXPECT_EQ(info.font.height, 16);
    EXPECT_EQ(info.font.weight, 400);
    EXPECT_FALSE(info.font.italic);
    info.plotRect = {0, 0, 1000, 349};
    lumgl::ChoosePlotFont(info);
    EXPECT_EQ(info.font.height, 14);
    info.plotRect = {0, 0, 299, 200};
    lumgl::ChoosePlotFont(info);
    EXPECT_EQ(info.font.height, 12);
}

TEST(FontChoice, FixedFontIsKept) {
    SPlotInfo info;
    info.font = SFontDesc{"Courier New", 22, 700, false, 0};
    info.stateFlags = kStateFixedFont;
    info.plotRect = {0, 0, 1000, 800};
    lumgl::ChoosePlotFont(info);
    EXPECT_EQ(info.font, (SFontDesc{"Courier New", 22, 700, false, 0}));
}

TEST(FrameGeometry, WorkedExample640x480) {
    // s = 640 * 2 / 3 = 426 (1.5 * 480 > 640): font 16, margin 5.
    // h = 16: p = 640 - 96 = 544; r = trunc(480 - 50.4) = 429;
    // origin = (0 + 80, 0 + 16 + 429) = (80, 445).
    SPlotInfo info;
    info.plotRect = {0, 0, 640, 480};
    lumgl::ChoosePlotFont(info);
    ASSERT_EQ(info.font.height, 16);
    lumgl::CalculateFrameGeometry(info, lumgl::FixedTextMetrics{});
    EXPECT_EQ(info.origin, (SDevicePoint{80, 445}));
    EXPECT_EQ(info.bottomRight, (SDevicePoint{624, 445}));
    EXPECT_EQ(info.topLeft, (SDevicePoint{80, 16}));
    EXPECT_EQ(info.topRight, (SDevicePoint{624, 16}));
    EXPECT_EQ(info.margin, 5);
}

TEST(FrameGeometry, WorkedExampleWithOffsetRectangle) {
    // W = 300, H = 200, s = 200: font 14, margin 4. h = 14: p = 300 - 84 = 216;
    // r = trunc(200 - 44.1) = 155; origin = (10 + 70, 20 + 14 + 155) = (80, 189).
    SPlotInfo info;
    info.plotRect = {10, 20, 310, 220};
    lumgl::ChoosePlotFont(info);
    ASSERT_EQ(info.font.height, 14);
    lumgl::CalculateFrameGeometry(info, lumgl::FixedTextMetrics{});
    EXPECT_EQ(info.origin, (SDevicePoint{80, 189}));
    EXPECT_EQ(info.bottomRight, (SDevicePoint{296, 189}));
    EXPECT_EQ(info.topLeft, (SDevicePoint{80, 34}));
    EXPECT_EQ(info.topRight, (SDevicePoint{296, 34}));
    EXPECT_EQ(info.margin, 4);
}

TEST(FrameGeometry, FontHeightComesFromTheMetrics) {
    // Metrics that answer 20 whatever the font: p = 1000 - 120 = 880, r = 600 - 63 = 537,
    // origin = (100, 20 + 537) = (100, 557). s = 600: margin 5.
    SPlotInfo info;
    info.plotRect = {0, 0, 1000, 600};
    lumgl::CalculateFrameGeometry(info, lumgl::FixedTextMetrics{0, 20});
    EXPECT_EQ(info.origin, (SDevicePoint{100, 557}));
    EXPECT_EQ(info.bottomRight, (SDevicePoint{980, 557}));
    EXPECT_EQ(info.topLeft, (SDevicePoint{100, 20}));
    EXPECT_EQ(info.topRight, (SDevicePoint{980, 20}));
    EXPECT_EQ(info.margin, 5);
}

TEST(FrameGeometry, FrameHeightTruncatesTowardZero) {
    // h = 12, H = 30: 30 - 37.8 = -7.8 -> -7 (not -8); W = 60: p = 60 - 72 = -12.
    SPlotInfo info;
    info.plotRect = {0, 0, 60, 30};
    info.font.height = 12;
    lumgl::CalculateFrameGeometry(info, lumgl::FixedTextMetrics{});
    EXPECT_EQ(info.origin, (SDevicePoint{60, 12 - 7}));
    EXPECT_EQ(info.topLeft, (SDevicePoint{60, 12}));
    EXPECT_EQ(info.bottomRight, (SDevicePoint{48, 5}));
    EXPECT_EQ(info.margin, 3);
}

TEST(FrameGeometry, MarginFollowsTheSizeEvenWithAFixedFont) {
    SPlotInfo info;
    info.font.height = 12;
    info.stateFlags = kStateFixedFont;
    info.plotRect = {0, 0, 1000, 350};
    lumgl::CalculateFrameGeometry(info, lumgl::FixedTextMetrics{});
    EXPECT_EQ(info.margin, 5);
    info.plotRect = {0, 0, 1000, 349};
    lumgl::CalculateFrameGeometry(info, lumgl::FixedTextMetrics{});
    EXPECT_EQ(info.margin, 4);
    info.plotRect = {0, 0, 1000, 199};
    lumgl::CalculateFrameGeometry(info, lumgl::FixedTextMetrics{});
    EXPECT_EQ(info.margin, 3);
}

TEST(LayoutPlot, FontFrameAndScalesInOneStep) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.drawFlags = 127;
    info.plotRect = {0, 0, 640, 480};
    info.xMin = 400.0f;
    info.xMax = 700.0f;
    info.yMin = 0.0f;
    info.yMax = 1000.0f;
    lumgl::LayoutPlot(info, lumgl::FixedTextMetrics{});
    EXPECT_EQ(info.font.height, 16);
    EXPECT_EQ(info.origin, (SDevicePoint{80, 445}));
    EXPECT_FLOAT_EQ(info.xScale, 544.0f / 300.0f);
    EXPECT_FLOAT_EQ(info.yScale, -429.0f / 1000.0f);
    // The frame corners are where the range ends map.
    EXPECT_EQ(DataToMousePoint({400.0f, 0.0f}, info), info.origin);
    EXPECT_EQ(DataToMousePoint({700.0f, 1000.0f}, info), info.topRight);
}

TEST(TextMetrics, FixedMetricsMeasureCharacters) {
    const SFontDesc font{"Arial", 14, 400, false, 0};
    EXPECT_EQ(lumgl::FixedTextMetrics{}.fontHeight(font), 14);
    EXPECT_EQ(lumgl::FixedTextMetrics{}.textExtent(font, "Ar II"), (lumgl::TextSize{35, 14}));
    EXPECT_EQ(lumgl::FixedTextMetrics(8, 10).textExtent(font, "abc"), (lumgl::TextSize{24, 10}));
}

}  // namespace
