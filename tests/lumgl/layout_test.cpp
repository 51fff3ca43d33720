// Font choice, margin and frame geometry, worked by hand.
#include <gtest/gtest.h>

#include "lumgl/lumgl.h"

namespace {

TEST(PlotSize, HeightUnlessTheRectangleIsNarrowAndFontAndMarginThresholds) {
    // s = H unless 1.5 H > W, then W * 2 / 3 (integer division); the position plays no part.
    const struct {
        SDeviceRect rect;
        int size;
    } sizes[] = {{{0, 0, 1000, 350}, 350}, {{0, 0, 525, 400}, 350}, {{0, 0, 524, 400}, 349},
                 {{0, 0, 300, 200}, 200},  {{0, 0, 299, 200}, 199}, {{100, 50, 1100, 400}, 350}};
    for (const auto& c : sizes) EXPECT_EQ(lumgl::PlotSize(c.rect), c.size) << c.rect.right;
    // Font height and margin switch at 200 and 350.
    const struct {
        int size, font, margin;
    } steps[] = {{350, 16, 5}, {349, 14, 4}, {200, 14, 4}, {199, 12, 3}, {-10, 12, 3}};
    for (const auto& c : steps) {
        EXPECT_EQ(lumgl::FontHeightForSize(c.size), c.font) << c.size;
        EXPECT_EQ(lumgl::MarginForSize(c.size), c.margin) << c.size;
    }
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

TEST(FrameGeometry, WorkedExamples) {
    // 640 x 480: s = 426, font 16, margin 5; p = 640 - 96 = 544, r = trunc(480 - 50.4) = 429.
    // Offset 300 x 200: s = 200, font 14, margin 4; p = 216, r = trunc(200 - 44.1) = 155.
    // Metrics that answer 20 whatever the font: p = 1000 - 120, r = 600 - 63.
    // h = 12, 60 x 30: r = 30 - 37.8 = -7.8 -> -7 (toward zero); p = 60 - 72 = -12.
    const struct {
        SDeviceRect rect;
        int fontHeight;  // 0: chosen for the rectangle
        int charWidth, height;  // of the fixed metrics
        SDevicePoint origin, bottomRight, topLeft, topRight;
        int margin;
    } cases[] = {
        {{0, 0, 640, 480}, 0, 0, 0, {80, 445}, {624, 445}, {80, 16}, {624, 16}, 5},
        {{10, 20, 310, 220}, 0, 0, 0, {80, 189}, {296, 189}, {80, 34}, {296, 34}, 4},
        {{0, 0, 1000, 600}, 12, 0, 20, {100, 557}, {980, 557}, {100, 20}, {980, 20}, 5},
        {{0, 0, 60, 30}, 12, 0, 0, {60, 5}, {48, 5}, {60, 12}, {48, 12}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rect.right);
        SPlotInfo info;
        info.plotRect = c.rect;
        if (c.fontHeight) info.font.height = c.fontHeight;
        else lumgl::ChoosePlotFont(info);
        lumgl::CalculateFrameGeometry(info, lumgl::FixedTextMetrics(c.charWidth, c.height));
        EXPECT_EQ(info.origin, c.origin);
        EXPECT_EQ(info.bottomRight, c.bottomRight);
        EXPECT_EQ(info.topLeft, c.topLeft);
        EXPECT_EQ(info.topRight, c.topRight);
        EXPECT_EQ(info.margin, c.margin);
    }
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
