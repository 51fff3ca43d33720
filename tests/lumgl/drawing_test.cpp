// Diagram drawing: the clipped curve walk checked point by point, the label formats, and
// golden traces of whole diagrams on the recording canvas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Golden.h"
#include "lumgl/ColumnReducer.h"
#include "lumgl/CurveWalk.h"
#include "lumgl/Drawing.h"
#include "lumgl/LabelFormat.h"
#include "lumgl/RecordingCanvas.h"
#include "Spectra.h"
#include "lumgl/lumgl.h"

namespace {

using lumgl::RecordingCanvas;

// Records a path as "m x,y" / "l x,y".
class PathRecorder : public lumgl::PathSink {
public:
    void moveTo(SDevicePoint p) override { ops.push_back("m " + std::to_string(p.x) + "," + std::to_string(p.y)); }
    void lineTo(SDevicePoint p) override { ops.push_back("l " + std::to_string(p.x) + "," + std::to_string(p.y)); }
    std::vector<std::string> ops;
};

// A frame 100 x 100 pixels with origin (0, 100) over 0..100 on both axes, so device
// x = data x and device y = 100 - data y, truncated.
SPlotInfo UnitFrame() {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.drawFlags = kDrawXLinear | kDrawYLinear | kDrawCurve;
    info.origin = {0, 100};
    info.bottomRight = {100, 100};
    info.topLeft = {0, 0};
    info.topRight = {100, 0};
    info.xMin = 0.0f;
    info.xMax = 100.0f;
    info.yMin = 0.0f;
    info.yMax = 100.0f;
    CalculateScaling(info);
    return info;
}

std::vector<std::string> Walk(const TPointList& points, const SPlotInfo& info) {
    PathRecorder rec;
    lumgl::WalkClippedCurve(points.data(), points.size(), info, rec);
    return rec.ops;
}

TEST(CurveWalk, ClipsToBothBandsAsDescribed) {
    const TPointList points = {
        {-10, 50},   // beyond the x band: moved onto x = 0 toward the next point, y = 60
        {10, 70},    // first inside point: move to the start, line to here
        {20, 130},   // leaves the top: line to where it crosses y = 100 (x = 15)
        {30, 50},    // re-enters from above at x = 23.75
        {40, -20},   // leaves the bottom at x = 37.14
        {50, 150},   // crosses the whole band from below to above: nothing
        {60, 90},    // enters from above at x = 58.33
        {60.5f, 89.5f},  // same device point (60, 10): no zero-length line
        {70, 80},
        {130, 20},   // leaves the x band: line to (100, y 50) and the walk ends
        {80, 50},    // never drawn, although back inside
    };
    const std::vector<std::string> expected = {
        "m 0,40", "l 10,30", "l 15,0",   "m 23,0", "l 30,50",
        "l 37,100", "m 58,0", "l 60,10", "l 70,20", "l 100,50",
    };
    EXPECT_EQ(Walk(points, UnitFrame()), expected);
}

TEST(CurveWalk, DrawsNothingWithoutAPointInsideTheXBand) {
    const SPlotInfo info = UnitFrame();
    EXPECT_TRUE(Walk({{-5, 10}, {-1, 20}, {120, 30}}, info).empty());
    EXPECT_TRUE(Walk({{50, 50}}, info).empty());  // one point is no segment
    EXPECT_TRUE(Walk({}, info).empty());
    // The first point alone beyond the band still starts the curve on the limit.
    EXPECT_EQ(Walk({{-10, 10}, {10, 30}}, info), (std::vector<std::string>{"m 0,80", "l 10,70"}));
}

TEST(CurveWalk, FallingDataAndAnUpsideDownRange) {
    SPlotInfo info = UnitFrame();
    // x falling: the curve enters at x = 100 and walks toward 0.
    EXPECT_EQ(Walk({{110, 50}, {90, 50}, {80, 60}}, info),
              (std::vector<std::string>{"m 100,50", "l 90,50", "l 80,40"}));
    // yMin > yMax: the device y of the data band limits are exchanged.
    info.yMin = 100.0f;
    info.yMax = 0.0f;
    CalculateScaling(info);
    EXPECT_EQ(Walk({{10, 10}, {20, 150}}, info), (std::vector<std::string>{"m 10,10", "l 16,100"}));
}

TEST(CurveWalk, LogarithmicYPlacesNonPositiveValuesOnTheBottomEdge) {
    SPlotInfo info = UnitFrame();
    info.drawFlags = kDrawXLinear | kDrawCurve;  // y logarithmic
    info.yMin = 1.0f;
    info.yMax = 100.0f;  // two decades over 100 pixels
    CalculateScaling(info);
    EXPECT_EQ(Walk({{10, 10}, {20, 100}, {30, -5}}, info),
              (std::vector<std::string>{"m 10,50", "l 20,0", "l 29,100"}));
    info.yMin = 0.0f;
    EXPECT_THROW(Walk({{10, 10}, {20, 100}}, info), lumgl::PlotError);
}

TEST(ColumnReducer, KeepsFirstExtremesAndLastOfEachColumn) {
    PathRecorder out;
    lumgl::ColumnReducer reducer(out);
    reducer.moveTo({5, 50});
    for (int y : {40, 70, 20, 60, 45}) reducer.lineTo({5, y});  // one column: 20..70, ends 45
    reducer.lineTo({6, 30});  // next column: passed on as it is
    reducer.lineTo({6, 31});
    reducer.moveTo({8, 10});  // a move ends the run; nothing joins across it
    reducer.lineTo({8, 12});
    reducer.finish();
    EXPECT_EQ(out.ops, (std::vector<std::string>{"m 5,50", "l 5,70", "l 5,20", "l 5,45", "l 6,30",
                                                 "l 6,31", "m 8,10", "l 8,12"}));
}

TEST(LabelFormat, LinearFormatsFollowTheStepExponent) {
    EXPECT_EQ(lumgl::LinearXLabelFormat(50.0), "%1.0f");
    EXPECT_EQ(lumgl::LinearXLabelFormat(0.001), "%5.3f");
    // A step taken from two 32-bit tick values is a hair off the decade.
    EXPECT_EQ(lumgl::LinearXLabelFormat(0.014f - 0.013f), "%5.3f");
    EXPECT_EQ(lumgl::LinearXLabelFormat(2.0), "%0.0f");
    EXPECT_EQ(lumgl::LinearXLabel(0.014f, 0.001), "0.014");
    EXPECT_EQ(lumgl::LinearXLabel(450.0, 50.0), "450");

    // 10000 / 10^3 = 10 is not above 10: e = 3.
    EXPECT_EQ(lumgl::LinearYLabelFormat(10000.0), "%3.1E");
    EXPECT_EQ(lumgl::LinearYLabelFormat(100000.0), "%4.1E");
    EXPECT_EQ(lumgl::LinearYLabel(20000.0, 10000.0), "2.0E+04");
    EXPECT_EQ(lumgl::LinearYLabel(0.0, 10000.0), "0");          // the zero tick
    EXPECT_EQ(lumgl::LinearYLabel(-0.5, 10000.0), "0");
    EXPECT_EQ(lumgl::LinearYLabel(0.5, 5000.0), "0");   // 5000: e = 3 as well
    EXPECT_EQ(lumgl::LinearYLabel(3000.0, 1000.0), "3000");  // 1000: e = 2, "%2.0f"
    EXPECT_EQ(lumgl::LinearYLabelFormat(20.0), "%1.0f");
    EXPECT_EQ(lumgl::LinearYLabelFormat(0.2), "%3.1f");
    EXPECT_EQ(lumgl::LinearYLabelFormat(0.002), "%5.3f");
    EXPECT_EQ(lumgl::LinearYLabelFormat(0.0002), "%4.1E");
    EXPECT_EQ(lumgl::LinearYLabelFormat(0.00002), "%5.1E");
    EXPECT_EQ(lumgl::LinearYLabel(0.00004, 0.00002), "4.0E-05");
}

TEST(LabelFormat, LogarithmicLabels) {
    lumgl::LogLabel ten = lumgl::LogAxisLabel(100.0);
    EXPECT_TRUE(ten.powerOfTen);
    EXPECT_EQ(ten.text, "10");
    EXPECT_EQ(ten.exponent, 2);
    lumgl::LogLabel one = lumgl::LogAxisLabel(1.0);
    EXPECT_TRUE(one.powerOfTen);
    EXPECT_EQ(one.exponent, 0);
    lumgl::LogLabel small = lumgl::LogAxisLabel(0.001f);
    EXPECT_TRUE(small.powerOfTen);
    EXPECT_EQ(small.exponent, -3);
    lumgl::LogLabel thirty = lumgl::LogAxisLabel(30.0);
    EXPECT_FALSE(thirty.powerOfTen);
    EXPECT_EQ(thirty.text, "3");
    EXPECT_EQ(lumgl::LogAxisLabel(0.5).text, "5");
    EXPECT_EQ(lumgl::LogAxisLabel(0.2f).text, "2");
}

// The diagram of most golden cases: a 400 x 300 client area (font 14, margin 4, frame
// from (70, 269) to (386, 14)), x 400..700, y 0..50000.
SPlotInfo LinearDiagram() { return spectra::LinearDiagram(400, 300, 400.0f, 700.0f, 0.0f, 50000.0f); }

TEST(PlotDrawingGolden, LinearAxesWithClippedCurve) {
    SPlotInfo info = LinearDiagram();
    const TPointList points = {{380, 10000}, {420, 20000}, {450, 60000}, {480, 30000},
                               {500, -10000}, {520, 60000}, {540, 40000}, {560, 40000},
                               {560.2f, 40001}, {720, 20000}, {600, 30000}};
    RecordingCanvas canvas({0, 0, 400, 300});
    PlotDrawing(points, info, canvas);
    EXPECT_EQ(info.origin, (SDevicePoint{70, 269}));
    EXPECT_EQ(info.margin, 4);
    golden::Expect("linear_axes_clipped_curve", canvas.trace());
}

TEST(PlotDrawingGolden, SmallStepsWithGridLines) {
    SPlotInfo info = LinearDiagram();
    info.drawFlags = kDrawXLinear | kDrawYLinear | kDrawFrame | kDrawXGrid | kDrawYGrid;
    info.xMin = 0.013f;
    info.xMax = 0.018f;
    info.yMin = -3.0f;
    info.yMax = 7.0f;
    RecordingCanvas canvas({0, 0, 400, 300});
    PlotDrawing({}, info, canvas);
    golden::Expect("small_steps_grid", canvas.trace());
}

TEST(PlotDrawingGolden, LogarithmicAxes) {
    SPlotInfo info = LinearDiagram();
    info.drawFlags = kDrawFrame | kDrawCurve;  // both axes logarithmic
    info.xMin = 1.0f;
    info.xMax = 500.0f;
    info.yMin = 0.5f;
    info.yMax = 2000.0f;
    const TPointList points = {{1, 1}, {10, 100}, {100, 10}, {500, 1000}};
    RecordingCanvas canvas({0, 0, 400, 300});
    PlotDrawing(points, info, canvas);
    golden::Expect("logarithmic_axes", canvas.trace());
}

TEST(PlotDrawing, BlackAndWhiteDrawsTheCurveInTheFramePen) {
    SPlotInfo info = LinearDiagram();
    info.drawFlags = kDrawXLinear | kDrawYLinear | kDrawCurve;
    info.framePen = SPenDesc{MakeColor(0, 0, 128), 2, PenStyle::Solid};
    info.stateFlags = kStateBlackWhite;
    RecordingCanvas canvas({0, 0, 400, 300});
    PlotDrawing({{450, 100}, {500, 20000}}, info, canvas);
    // y 20000: the 32-bit yScale is a hair above 255 / 50000 in magnitude, so the
    // device y 166.99999 truncates to 166.
    EXPECT_EQ(canvas.trace(), "pen #000080 2 solid\nmove 122,268\nline 175,166\n");
    info.stateFlags = 0;
    RecordingCanvas colour({0, 0, 400, 300});
    PlotDrawing({{450, 100}, {500, 20000}}, info, colour);
    EXPECT_EQ(colour.trace().substr(0, 20), "pen #ff0000 1 solid\n");
}

TEST(PlotDrawing, InitialisationTakesRangesAndClientArea) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.drawFlags = kDrawInitialise;
    info.initFlags = kInitAll;
    RecordingCanvas canvas({0, 0, 600, 400});
    PlotDrawing({{400, 1}, {500, 3}, {600, 2}}, info, canvas);
    EXPECT_EQ(info.plotRect, (SDeviceRect{0, 0, 600, 400}));
    EXPECT_EQ(info.xMin, 400.0f);
    EXPECT_EQ(info.yMax, 3.0f);
    EXPECT_EQ(info.drawFlags, 127);
    EXPECT_NE(canvas.trace().find("\"Bildtitel: Zeichnung (Default)\""), std::string::npos);
    EXPECT_THROW(
        {
            SPlotInfo empty;
            MakePlotInfoStruct(empty, true);
            empty.drawFlags = kDrawInitialise;
            empty.initFlags = kInitAll;
            PlotDrawing({}, empty, canvas);
        },
        lumgl::PlotError);
}

TEST(PlotDrawing, VariantsKeepTheirAxisModes) {
    const TPointList points = {{1, 1}, {10, 5}, {1000, 3}};
    RecordingCanvas canvas({0, 0, 600, 400});
    PlotDrawingLogLin(points, nullptr, canvas);  // temporary SPlotInfo, initialised
    // Logarithmic x over 1..1000: powers of ten are drawn as "10" with an exponent.
    EXPECT_NE(canvas.trace().find("\"10\""), std::string::npos);
    EXPECT_NE(canvas.trace().find("\"3\""), std::string::npos);

    SPlotInfo info = LinearDiagram();
    info.xMin = -1.0f;  // not drawable on a logarithmic x axis
    RecordingCanvas other({0, 0, 400, 300});
    try {
        PlotDrawingLogLin(points, &info, other);
        FAIL() << "expected PlotError 1";
    } catch (const lumgl::PlotError& e) {
        EXPECT_EQ(e.code(), 1);
    }
    EXPECT_EQ(info.drawFlags & kDrawXLinear, 0);
}

}  // namespace

namespace {

// Two spectra as lumora-cli render shows them: the program's curve colours, the frame and
// grid drawn with the first, the found lines marked and labelled on both, the range
// autoscaled and raised until the labels fit.
TEST(DiagramComposerGolden, TwoSpectraWithFoundAndIdentifiedLines) {
    SpectrumRecord first, second;
    first.points = spectra::Generate(80);
    second.points = spectra::Generate(80, 300.0f, 900.0f, 2);
    for (SpectrumRecord* s : {&first, &second}) {
        s->plotInfo.initFlags = kInitXRange | kInitYRange;
        GetMinMax(s->points, s->plotInfo);
    }
    CLine mercury(546.07f, 12500.0f);
    mercury.speciesLabels = {"Hg I 546.0735;0.8", "Xe II 546.039;0.05*"};
    mercury.speciesColors = {MakeColor(0, 0, 200), MakeColor(0, 140, 0)};
    mercury.speciesRecords = {"0.8;x;x;x;x;2;1", "0.05;x;x;x;x;1;1"};
    first.spectrumLines.add(mercury);
    first.spectrumLines.add(CLine(253.65f, 9200.0f));
    second.spectrumLines.add(CLine(696.54f, 5400.0f));

    SPlotInfo info = spectra::LinearDiagram(640, 480, 0, 1, 0, 1, "Zwei Spektren");
    info.drawFlags |= kDrawXGrid | kDrawYGrid;
    std::vector<lumgl::DiagramOverlay> overlays;
    for (const SpectrumRecord* s : {&first, &second})
        overlays.push_back({s, SPenDesc{lumgl::OverlayColor(overlays.size()), 1, PenStyle::Solid}, true, true, false});
    lumgl::DiagramComposer composer(info, overlays);
    composer.autoscale();
    composer.makeRoomForLabels(lumgl::FixedTextMetrics());
    RecordingCanvas canvas({0, 0, 640, 480});
    composer.draw(canvas);
    golden::Expect("composed_two_spectra", canvas.trace());

    // The current spectrum is drawn last, and the one drawn first carries the frame.
    lumgl::DiagramOptions options;
    options.current = 0;
    const lumgl::DiagramComposer current(composer.info(), overlays, options);
    EXPECT_EQ(current.drawingOrder(), (std::vector<std::size_t>{1, 0}));
    EXPECT_NE(current.overlayInfo(1).drawFlags & kDrawXGrid, 0);
    EXPECT_EQ(current.overlayInfo(0).drawFlags & (kDrawFrame | kDrawXGrid | kDrawYGrid), 0);
    EXPECT_EQ(current.overlayInfo(0).curvePen.color, MakeColor(255, 0, 0));
}

}  // namespace
