// MakePlotInfoStruct, the initialisation by flags and GetMinMax.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>

#include "PlotErrorCode.h"
#include "Spectra.h"
#include "lumgl/lumgl.h"

namespace {

TEST(MakePlotInfoStruct, CreateSetsFontPensAndEmptyTitlesDestroyReleasesThem) {
    SPlotInfo info;
    info.title = info.xTitle = info.yTitle = "alt";
    info.xMin = 3.0f;
    info.drawFlags = 5;
    info.font = SFontDesc{"Courier", 30, 700, true, 900};
    MakePlotInfoStruct(info, true);
    EXPECT_EQ(info.font, (SFontDesc{"System", 12, 400, false, 0}));
    EXPECT_EQ(info.curvePen, (SPenDesc{255, 1, PenStyle::Solid}));
    EXPECT_EQ(info.framePen, (SPenDesc{0, 1, PenStyle::Solid}));
    EXPECT_TRUE(info.title.empty() && info.xTitle.empty() && info.yTitle.empty());
    EXPECT_EQ(info.xMin, 3.0f);  // nothing else is touched
    EXPECT_EQ(info.drawFlags, 5);
    // Destroying releases font and pens and keeps the titles.
    info.title = "bleibt";
    MakePlotInfoStruct(info, false);
    EXPECT_EQ(info.curvePen, SPenDesc{});
    EXPECT_EQ(info.framePen, SPenDesc{});
    EXPECT_EQ(info.font, SFontDesc{});
    EXPECT_EQ(info.title, "bleibt");
}

const TPointList kPoints{{400.0f, 10.0f}, {500.0f, -20.0f}, {700.0f, 90.0f}};
const SDeviceRect kClient{0, 0, 800, 600};

TEST(InitPlotInfo, Bit7InitialisesEverythingElseOnlyTheFlaggedFields) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.curvePen = info.framePen = SPenDesc{MakeColor(0, 0, 255), 2, PenStyle::Dot};
    info.drawFlags = 128 | 8;
    info.initFlags = 128;
    info.stateFlags = 3;
    InitPlotInfo(kPoints, info, kClient);
    EXPECT_EQ(info.initFlags, 127);
    EXPECT_EQ(spectra::RangeOf(info), (std::array<float, 4>{400.0f, 700.0f, -20.0f, 90.0f}));
    EXPECT_EQ((std::array{info.xTitle, info.yTitle, info.title}),
              (std::array<std::string, 3>{"Titel: X-Achse", "Titel: Y-Achse",
                                          "Bildtitel: Zeichnung (Default)"}));
    EXPECT_EQ(info.plotRect, kClient);
    EXPECT_EQ(info.curvePen, (SPenDesc{255, 1, PenStyle::Solid}));
    EXPECT_EQ(info.framePen, (SPenDesc{0, 1, PenStyle::Solid}));
    EXPECT_EQ(info.drawFlags, 127);  // bit 7 done
    EXPECT_EQ(info.stateFlags, 0);

    info = SPlotInfo{};
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
    EXPECT_EQ(spectra::RangeOf(info), (std::array<float, 4>{400.0f, 700.0f, 1.0f, 2.0f}));
    EXPECT_EQ((std::array{info.xTitle, info.yTitle, info.title}),
              (std::array<std::string, 3>{"Wellenlänge", "Titel: Y-Achse", ""}));
    EXPECT_EQ(info.plotRect, (SDeviceRect{1, 2, 3, 4}));
    EXPECT_EQ(info.drawFlags, 127);  // bit 7 done
    EXPECT_EQ(info.stateFlags, 0);

    // The plot rectangle is the caller's client rectangle; no range bits: no data needed.
    info.initFlags = kInitPlotRect;
    InitPlotInfo({}, info, {10, 20, 330, 260});
    EXPECT_EQ(info.plotRect, (SDeviceRect{10, 20, 330, 260}));
}

TEST(InitPlotInfo, EmptyDataFailsWithCode3BeforeTheTitles) {
    SPlotInfo info;
    info.initFlags = 128;
    info.drawFlags = 255;
    EXPECT_EQ(CodeOf([&] { InitPlotInfo({}, info, kClient); }), 3);
    EXPECT_TRUE(info.xTitle.empty());
    EXPECT_EQ(info.drawFlags, 255);
}

TEST(GetMinMax, RangesOverAllPointsEqualValuesWidenedAndTheFlaggedAxesOnly) {
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
        EXPECT_EQ(spectra::RangeOf(info), (std::array<float, 4>{c.xMin, c.xMax, c.yMin, c.yMax}));
    }
    // Huge equal values still give a range.
    SPlotInfo info;
    info.initFlags = kInitXRange;
    GetMinMax({{1e9f, 1.0f}, {1e9f, 2.0f}}, info);
    EXPECT_LT(info.xMin, 1e9f);
    EXPECT_GT(info.xMax, 1e9f);
    EXPECT_TRUE(std::isfinite(info.xMax - info.xMin));

    info.xMin = -1.0f;
    info.xMax = 1.0f;
    info.initFlags = kInitYRange;
    GetMinMax(kPoints, info);
    EXPECT_EQ(spectra::RangeOf(info), (std::array<float, 4>{-1.0f, 1.0f, -20.0f, 90.0f}));

    // An empty list raises code 3 (a PlotError is a std::runtime_error) and changes nothing.
    info.initFlags = 3;
    EXPECT_EQ(CodeOf([&] { GetMinMax({}, info); }), 3);
    EXPECT_EQ(info.xMin, -1.0f);
    try {
        GetMinMax({}, info);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find('3'), std::string::npos);
    }
}

}  // namespace
