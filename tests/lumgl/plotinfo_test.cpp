// MakePlotInfoStruct, the initialisation by flags and GetMinMax.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "PlotErrorCode.h"
#include "lumgl/lumgl.h"

namespace {

TEST(MakePlotInfoStruct, CreateSetsFontPensAndEmptyTitlesDestroyReleasesThem) {
    SPlotInfo info;
    info.title = "alt";
    info.xTitle = "x";
    info.yTitle = "y";
    info.xMin = 3.0f;
    info.drawFlags = 5;
    info.font.face = "Courier";
    info.font.height = 30;
    MakePlotInfoStruct(info, true);
    EXPECT_EQ(info.font.face, "System");
    EXPECT_EQ(info.font.height, 12);
    EXPECT_EQ(info.font.weight, 400);
    EXPECT_EQ(info.font.escapement, 0);
    EXPECT_EQ(info.curvePen, (SPenDesc{255, 1, PenStyle::Solid}));
    EXPECT_EQ(info.framePen, (SPenDesc{0, 1, PenStyle::Solid}));
    EXPECT_TRUE(info.title.empty());
    EXPECT_TRUE(info.xTitle.empty());
    EXPECT_TRUE(info.yTitle.empty());
    // Nothing else is touched.
    EXPECT_EQ(info.xMin, 3.0f);
    EXPECT_EQ(info.drawFlags, 5);

    // Destroying releases font and pens and keeps the titles.
    info.curvePen = SPenDesc{MakeColor(0, 255, 0), 3, PenStyle::Dash};
    info.title = "bleibt";
    MakePlotInfoStruct(info, false);
    EXPECT_EQ(info.curvePen, SPenDesc{});
    EXPECT_EQ(info.framePen, SPenDesc{});
    EXPECT_EQ(info.font, SFontDesc{});
    EXPECT_EQ(info.title, "bleibt");
}

const TPointList kPoints{{400.0f, 10.0f}, {500.0f, -20.0f}, {700.0f, 90.0f}};
const SDeviceRect kClient{0, 0, 800, 600};

TEST(InitPlotInfo, Bit7InitialisesEverything) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.curvePen = SPenDesc{MakeColor(0, 0, 255), 2, PenStyle::Dot};
    info.framePen = SPenDesc{MakeColor(0, 0, 255), 2, PenStyle::Dot};
    info.drawFlags = 128 | 8;
    info.initFlags = 128;
    info.stateFlags = 3;
    InitPlotInfo(kPoints, info, kClient);
    EXPECT_EQ(info.initFlags, 127);
    EXPECT_EQ(info.xMin, 400.0f);
    EXPECT_EQ(info.xMax, 700.0f);
    EXPECT_EQ(info.yMin, -20.0f);
    EXPECT_EQ(info.yMax, 90.0f);
    EXPECT_EQ(info.xTitle, "Titel: X-Achse");
    EXPECT_EQ(info.yTitle, "Titel: Y-Achse");
    EXPECT_EQ(info.title, "Bildtitel: Zeichnung (Default)");
    EXPECT_EQ(info.plotRect, kClient);
    EXPECT_EQ(info.curvePen, (SPenDesc{255, 1, PenStyle::Solid}));
    EXPECT_EQ(info.framePen, (SPenDesc{0, 1, PenStyle::Solid}));
    EXPECT_EQ(info.drawFlags, 127);
    EXPECT_EQ(info.stateFlags, 0);
}

TEST(InitPlotInfo, OnlyTheFlaggedFieldsChange) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.yMin = 1.0f;
    info.yMax = 2.0f;
    info.plotRect = SDeviceRect{1, 2, 3, 4};
    info.xTitle = "Wellenlänge";
    info.initFlags = kInitXRange | kInitYTitle;
    info.drawFlags = 128 | 4;
    info.stateFlags = kStateFixedFont;
    InitPlotInfo(kPoints, info, kClient);
    EXPECT_EQ(info.initFlags, kInitXRange | kInitYTitle);  // not rewritten without bit 7
    EXPECT_EQ(info.xMin, 400.0f);
    EXPECT_EQ(info.xMax, 700.0f);
    EXPECT_EQ(info.yMin, 1.0f);
    EXPECT_EQ(info.yMax, 2.0f);
    EXPECT_EQ(info.xTitle, "Wellenlänge");
    EXPECT_EQ(info.yTitle, "Titel: Y-Achse");
    EXPECT_TRUE(info.title.empty());
    EXPECT_EQ(info.plotRect, (SDeviceRect{1, 2, 3, 4}));
    EXPECT_EQ(info.drawFlags, 127);
    EXPECT_EQ(info.stateFlags, 0);
}

TEST(InitPlotInfo, PlotRectFromTheCallersClientRectangle) {
    SPlotInfo info;
    info.initFlags = kInitPlotRect;
    const SDeviceRect client{10, 20, 330, 260};
    InitPlotInfo({}, info, client);  // no range bits: an empty list is no error
    EXPECT_EQ(info.plotRect, client);
}

TEST(InitPlotInfo, EmptyDataFailsWithCode3BeforeTheTitles) {
    SPlotInfo info;
    info.initFlags = 128;
    info.drawFlags = 255;
    EXPECT_EQ(CodeOf([&] { InitPlotInfo({}, info, kClient); }), 3);
    EXPECT_TRUE(info.xTitle.empty());
    EXPECT_EQ(info.drawFlags, 255);
}

TEST(GetMinMax, RangesOverAllPointsAndEqualValuesWidenedByFive) {
    const struct {
        TPointList points;
        float xMin, xMax, yMin, yMax;
    } cases[] = {
        {{{700, 5}, {650, 50}, {400, -3.5f}, {500, 1}}, 400, 700, -3.5f, 50},  // any order
        {{{300, 1}, {300, 4}, {300, 2}}, 295, 305, 1, 4},
        {{{0, -2}}, -5, 5, -7, 3},
    };
    for (const auto& c : cases) {
        SPlotInfo info;
        info.initFlags = kInitXRange | kInitYRange;
        GetMinMax(c.points, info);
        EXPECT_EQ(info.xMin, c.xMin);
        EXPECT_EQ(info.xMax, c.xMax);
        EXPECT_EQ(info.yMin, c.yMin);
        EXPECT_EQ(info.yMax, c.yMax);
    }
}

TEST(GetMinMax, HugeEqualValuesStillGiveARange) {
    SPlotInfo info;
    info.initFlags = kInitXRange;
    GetMinMax({{1e9f, 1.0f}, {1e9f, 2.0f}}, info);
    EXPECT_LT(info.xMin, 1e9f);
    EXPECT_GT(info.xMax, 1e9f);
    EXPECT_TRUE(std::isfinite(info.xMax - info.xMin));
}

TEST(GetMinMax, InitFlagsChooseTheAxis) {
    SPlotInfo info;
    info.xMin = -1.0f;
    info.xMax = 1.0f;
    info.initFlags = kInitYRange;
    GetMinMax(kPoints, info);
    EXPECT_EQ(info.xMin, -1.0f);
    EXPECT_EQ(info.xMax, 1.0f);
    EXPECT_EQ(info.yMin, -20.0f);
    EXPECT_EQ(info.yMax, 90.0f);
}

TEST(GetMinMax, EmptyListRaisesCode3) {
    SPlotInfo info;
    info.initFlags = 3;
    info.xMin = 7.0f;
    EXPECT_EQ(CodeOf([&] { GetMinMax({}, info); }), 3);
    EXPECT_EQ(info.xMin, 7.0f);
    try {
        GetMinMax({}, info);
        FAIL();
    } catch (const std::runtime_error& e) {  // a PlotError is also a std::runtime_error
        EXPECT_NE(std::string(e.what()).find("3"), std::string::npos);
    }
}

}  // namespace
