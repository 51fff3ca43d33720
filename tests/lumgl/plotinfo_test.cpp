// MakePlotInfoStruct, the initialisation by flags and GetMinMax.
#include "Support.h"
#include "lumcore/Printf.h"

const TPointList kPoints{{400.0f, 10.0f}, {500.0f, -20.0f}, {700.0f, 90.0f}};
const SDeviceRect kClient{0, 0, 800, 600};

// The fields that creating and initialising set, as one line of text.
std::string Fields(const char* step, const SPlotInfo& i) {
    auto pen = [](const SPenDesc& p) {
        return lumcore::strprintf("#%06x %d %d", p.color, p.width, static_cast<int>(p.style));
    };
    return lumcore::strprintf(
               "%s: flags init %d draw %d state %d; range %g %g %g %g; rect %d %d "
               "%d %d; font %s %d %d %d %d; pens ",
               step, i.initFlags, i.drawFlags, i.stateFlags, i.xMin, i.xMax, i.yMin, i.yMax,
               i.plotRect.left, i.plotRect.top, i.plotRect.right, i.plotRect.bottom,
               i.font.face.c_str(), i.font.height, i.font.weight, i.font.italic,
               i.font.escapement) +
           pen(i.curvePen) + ", " + pen(i.framePen) + "; titles " + i.xTitle + " | " + i.yTitle +
           " | " + i.title + "\n";
}

// Creating sets font, pens and empty titles and nothing else; destroying releases font and
// pens and keeps the titles. Bit 7 of the init flags initialises everything, else only the
// flagged fields are (the flags are not rewritten then); the plot rectangle alone needs no
// data; empty data with range bits fails with code 3 before the titles are set.
TEST(PlotInfoGolden, CreateDestroyAndInitialiseByFlags) {
    std::string trace;
    SPlotInfo info;
    info.title = info.xTitle = info.yTitle = "alt";
    info.xMin = 3.0f;
    info.drawFlags = 5;
    info.font = SFontDesc{"Courier", 30, 700, true, 900};
    info.curvePen = SPenDesc{MakeColor(0, 0, 255), 2, PenStyle::Dot};
    MakePlotInfoStruct(info, true);
    trace += Fields("create", info);
    info.title = "bleibt";
    info.font.face = "Arial";
    MakePlotInfoStruct(info, false);
    trace += Fields("destroy", info);

    info = SPlotInfo{};
    MakePlotInfoStruct(info, true);
    info.curvePen = info.framePen = SPenDesc{MakeColor(0, 0, 255), 2, PenStyle::Dot};
    info.drawFlags = 128 | 8;
    info.initFlags = 128;
    info.stateFlags = 3;
    InitPlotInfo(kPoints, info, kClient);
    trace += Fields("bit 7", info);

    info = SPlotInfo{};
    MakePlotInfoStruct(info, true);
    spectra::SetRange(info, 0.0f, 0.0f, 1.0f, 2.0f);
    info.plotRect = SDeviceRect{1, 2, 3, 4};
    info.xTitle = "Wellenlänge";
    info.initFlags = kInitXRange | kInitYTitle;
    info.drawFlags = 128 | 4;
    info.stateFlags = kStateFixedFont;
    InitPlotInfo(kPoints, info, kClient);
    trace += Fields("x range and y title", info);
    info.initFlags = kInitPlotRect;
    InitPlotInfo({}, info, {10, 20, 330, 260});
    trace += Fields("plot rectangle without data", info);

    info = SPlotInfo{};
    info.initFlags = 128;
    info.drawFlags = 255;
    EXPECT_EQ(CodeOf([&] { InitPlotInfo({}, info, kClient); }), 3);
    trace += Fields("bit 7 without data", info);
    golden::Expect("plot_info_fields", trace);
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
