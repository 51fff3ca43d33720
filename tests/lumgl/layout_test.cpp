// Font choice, margin and frame geometry, worked by hand.
#include "Support.h"

SDeviceRect Rect(const std::string& s) {
    SDeviceRect r;
    std::stringstream(s) >> r.left >> r.top >> r.right >> r.bottom;
    return r;
}

SDevicePoint Point(const std::string& s) {
    return {std::stoi(s), std::stoi(s.substr(s.find(',') + 1))};
}

TEST(PlotSize, HeightUnlessTheRectangleIsNarrowAndFontAndMarginThresholds) {
    for (const table::Row& c : table::Read("plot_size.tsv")) {
        const std::vector<float> want = table::Floats(c[2]);
        if (c[0] == "size") {
            EXPECT_EQ(lumgl::PlotSize(Rect(c[1])), want[0]) << c[1];
        } else {
            EXPECT_EQ(lumgl::FontHeightForSize(table::I(c[1])), want[0]) << c[1];
            EXPECT_EQ(lumgl::MarginForSize(table::I(c[1])), want[1]) << c[1];
        }
    }
}

TEST(FrameGeometry, WorkedExamples) {
    for (const table::Row& c : table::Read("frame_geometry.tsv")) {
        SCOPED_TRACE(c[0]);
        SPlotInfo info;
        info.plotRect = Rect(c[0]);
        info.font.height = table::I(c[1]);
        info.stateFlags = info.font.height ? kStateFixedFont : 0;  // a fixed font stays
        lumgl::ChoosePlotFont(info);
        lumgl::CalculateFrameGeometry(info,
                                      lumgl::FixedTextMetrics(table::I(c[2]), table::I(c[3])));
        if (c[4] != "-") {
            EXPECT_EQ((std::array{info.origin, info.bottomRight, info.topLeft, info.topRight}),
                      (std::array{Point(c[4]), Point(c[5]), Point(c[6]), Point(c[7])}));
        }
        EXPECT_EQ(info.margin, table::I(c[8]));
    }
}

TEST(LayoutPlot, FontFrameAndScalesInOneStep) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.font.italic = true;
    info.drawFlags = 127;
    info.plotRect = {0, 0, 640, 480};
    spectra::SetRange(info, 400.0f, 700.0f, 0.0f, 1000.0f);
    lumgl::LayoutPlot(info, lumgl::FixedTextMetrics{});
    EXPECT_EQ(info.font, (SFontDesc{"Arial", 16, 400, false, 0}));  // Arial, not italic
    // The frame corners (worked in frame_geometry.tsv) are where the range ends map.
    EXPECT_EQ(DataToMousePoint({400.0f, 0.0f}, info), info.origin);
    EXPECT_EQ(DataToMousePoint({700.0f, 1000.0f}, info), info.topRight);
    // The fixed metrics measure characters.
    const SFontDesc font{"Arial", 14, 400, false, 0};
    EXPECT_EQ(lumgl::FixedTextMetrics{}.fontHeight(font), 14);
    EXPECT_EQ(lumgl::FixedTextMetrics{}.textExtent(font, "Ar II"), (lumgl::TextSize{35, 14}));
    EXPECT_EQ(lumgl::FixedTextMetrics(8, 10).textExtent(font, "abc"), (lumgl::TextSize{24, 10}));
}
