// MakePlotInfoStruct, the initialisation by flags and GetMinMax.
#include "Support.h"

const TPointList kPoints{{400.0f, 10.0f}, {500.0f, -20.0f}, {700.0f, 90.0f}};
const SDeviceRect kClient{0, 0, 800, 600};
const SPenDesc kCurvePen{255, 1, PenStyle::Solid}, kFramePen{0, 1, PenStyle::Solid};

TEST(MakePlotInfoStruct, CreateSetsFontPensAndEmptyTitlesDestroyReleasesThem) {
    SPlotInfo info;
    info.title = info.xTitle = info.yTitle = "alt";
    info.xMin = 3.0f;
    info.drawFlags = 5;
    info.font = SFontDesc{"Courier", 30, 700, true, 900};
    MakePlotInfoStruct(info, true);
    EXPECT_EQ(info.font, (SFontDesc{"System", 12, 400, false, 0}));
    EXPECT_EQ(info.curvePen, kCurvePen);
    EXPECT_EQ(info.framePen, kFramePen);
    EXPECT_EQ(info.title + info.xTitle + info.yTitle, "");
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

std::array<std::string, 3> Titles(const SPlotInfo& info) {
    return {info.xTitle, info.yTitle, info.title};
}

TEST(InitPlotInfo, Bit7InitialisesEverythingElseOnlyTheFlaggedFields) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.curvePen = info.framePen = SPenDesc{MakeColor(0, 0, 255), 2, PenStyle::Dot};
    info.drawFlags = 128 | 8;
    info.initFlags = 128;
    info.stateFlags = 3;
    InitPlotInfo(kPoints, info, kClient);
    EXPECT_EQ(info.initFlags, 127);
    EXPECT_EQ(spectra::RangeOf(info), (std::array{400.0f, 700.0f, -20.0f, 90.0f}));
    EXPECT_EQ(Titles(info), (std::array<std::string, 3>{"Titel: X-Achse", "Titel: Y-Achse",
                                                        "Bildtitel: Zeichnung (Default)"}));
    EXPECT_EQ(info.plotRect, kClient);
    EXPECT_EQ(info.curvePen, kCurvePen);
    EXPECT_EQ(info.framePen, kFramePen);
    EXPECT_EQ(info.drawFlags, 127);  // bit 7 done
    EXPECT_EQ(info.stateFlags, 0);

    info = SPlotInfo{};
    MakePlotInfoStruct(info, true);
    spectra::SetRange(info, 0.0f, 0.0f, 1.0f, 2.0f);
    info.plotRect = SDeviceRect{1, 2, 3, 4};
    info.xTitle = "Wellenlänge";
    info.initFlags = kInitXRange | kInitYTitle;
    info.drawFlags = 128 | 4;
    info.stateFlags = kStateFixedFont;
    InitPlotInfo(kPoints, info, kClient);
    EXPECT_EQ(info.initFlags, kInitXRange | kInitYTitle);  // not rewritten without bit 7
    EXPECT_EQ(spectra::RangeOf(info), (std::array{400.0f, 700.0f, 1.0f, 2.0f}));
    EXPECT_EQ(Titles(info), (std::array<std::string, 3>{"Wellenlänge", "Titel: Y-Achse", ""}));
    EXPECT_EQ(info.plotRect, (SDeviceRect{1, 2, 3, 4}));
    EXPECT_EQ(info.drawFlags, 127);  // bit 7 done
    EXPECT_EQ(info.stateFlags, 0);

    // The plot rectangle is the caller's client rectangle; no range bits: no data needed.
    info.initFlags = kInitPlotRect;
    InitPlotInfo({}, info, {10, 20, 330, 260});
    EXPECT_EQ(info.plotRect, (SDeviceRect{10, 20, 330, 260}));
    // Empty data with range bits fails with code 3 before the titles are set.
    info = SPlotInfo{};
    info.initFlags = 128;
    info.drawFlags = 255;
    EXPECT_EQ(CodeOf([&] { InitPlotInfo({}, info, kClient); }), 3);
    EXPECT_TRUE(info.xTitle.empty());
    EXPECT_EQ(info.drawFlags, 255);
}

TEST(GetMinMax, RangesOverAllPointsEqualValuesWidenedAndTheFlaggedAxesOnly) {
    // Any order; equal values widened by 5 (x) and 5 or 3 (y).
    for (const auto& [points, range] :
         {std::pair{"700,5 650,50 400,-3.5 500,1", std::array{400.0f, 700.0f, -3.5f, 50.0f}},
          {"300,1 300,4 300,2", {295.0f, 305.0f, 1.0f, 4.0f}},
          {"0,-2", {-5.0f, 5.0f, -7.0f, 3.0f}}}) {
        SPlotInfo info;
        info.initFlags = kInitXRange | kInitYRange;
        GetMinMax(table::Points(points), info);
        EXPECT_EQ(spectra::RangeOf(info), range) << points;
    }
    // Huge equal values still give a range.
    SPlotInfo info;
    info.initFlags = kInitXRange;
    GetMinMax({{1e9f, 1.0f}, {1e9f, 2.0f}}, info);
    EXPECT_LT(info.xMin, 1e9f);
    EXPECT_GT(info.xMax, 1e9f);
    EXPECT_TRUE(std::isfinite(info.xMax - info.xMin));
    spectra::SetRange(info, -1.0f, 1.0f, 0.0f, 0.0f);
    info.initFlags = kInitYRange;
    GetMinMax(kPoints, info);
    EXPECT_EQ(spectra::RangeOf(info), (std::array{-1.0f, 1.0f, -20.0f, 90.0f}));
    // An empty list raises code 3 (a PlotError is a std::runtime_error) and changes nothing.
    info.initFlags = 3;
    EXPECT_EQ(CodeOf([&] { GetMinMax({}, info); }), 3);
    EXPECT_EQ(info.xMin, -1.0f);
    EXPECT_THROW(GetMinMax({}, info), std::runtime_error);
}
