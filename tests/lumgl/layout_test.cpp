// Font choice, margin and frame geometry, worked by hand.
#include <gtest/gtest.h>

#include <sstream>

#include "Table.h"
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

TEST(FontChoice, ArialOfTheChosenHeightUnlessTheFontIsFixed) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.font.italic = true;
    info.plotRect = {0, 0, 1000, 350};
    lumgl::ChoosePlotFont(info);
    EXPECT_EQ(info.font, (SFontDesc{"Arial", 16, 400, false, 0}));
    info.plotRect = {0, 0, 299, 200};
    lumgl::ChoosePlotFont(info);
    EXPECT_EQ(info.font.height, 12);
    info.font = SFontDesc{"Courier New", 22, 700, false, 0};
    info.stateFlags = kStateFixedFont;
    info.plotRect = {0, 0, 1000, 800};
    lumgl::ChoosePlotFont(info);
    EXPECT_EQ(info.font, (SFontDesc{"Courier New", 22, 700, false, 0}));
}

SDevicePoint Point(const std::string& s) {
    return {std::stoi(s), std::stoi(s.substr(s.find(',') + 1))};
}

TEST(FrameGeometry, WorkedExamples) {
    for (const table::Row& c : table::Read("frame_geometry.tsv")) {
        SCOPED_TRACE(c[0]);
        SPlotInfo info;
        std::stringstream(c[0]) >> info.plotRect.left >> info.plotRect.top >> info.plotRect.right >>
            info.plotRect.bottom;
        info.font.height = table::I(c[1]);
        info.stateFlags = info.font.height ? kStateFixedFont : 0;
        if (!info.font.height) lumgl::ChoosePlotFont(info);
        lumgl::CalculateFrameGeometry(info,
                                      lumgl::FixedTextMetrics(table::I(c[2]), table::I(c[3])));
        if (c[4] != "-") {
            EXPECT_EQ(info.origin, Point(c[4]));
            EXPECT_EQ(info.bottomRight, Point(c[5]));
            EXPECT_EQ(info.topLeft, Point(c[6]));
            EXPECT_EQ(info.topRight, Point(c[7]));
        }
        EXPECT_EQ(info.margin, table::I(c[8]));
    }
}

TEST(LayoutPlot, FontFrameAndScalesInOneStep) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.drawFlags = 127;
    info.plotRect = {0, 0, 640, 480};
    info.xMin = 400.0f;
    info.xMax = 700.0f;
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
