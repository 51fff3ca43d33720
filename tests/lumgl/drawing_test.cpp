// Diagram drawing: the clipped curve walk checked point by point, the label formats, and
// golden traces of whole diagrams on the recording canvas.
#include "lumgl/Drawing.h"

#include "Support.h"
#include "lumcore/Printf.h"
#include "lumgl/ColumnReducer.h"
#include "lumgl/CurveWalk.h"
#include "lumgl/LabelFormat.h"
#include "lumgl/RecordingCanvas.h"

using lumgl::RecordingCanvas;

// Records a path as "m x,y l x,y ...".
struct PathRecorder : lumgl::PathSink {
    void moveTo(SDevicePoint p) override { path += lumcore::strprintf(" m %d,%d", p.x, p.y); }
    void lineTo(SDevicePoint p) override { path += lumcore::strprintf(" l %d,%d", p.x, p.y); }
    std::string path;
};

// A frame 100 x 100 pixels with origin (0, 100) over 0..100 on both axes.
SPlotInfo UnitFrame(const std::string& kind) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.drawFlags = kDrawXLinear | kDrawYLinear | kDrawCurve;
    spectra::SetFrame(info, 0, 100, 100, 0);
    info.xMax = info.yMax = 100.0f;
    if (kind == "upsidedown") std::swap(info.yMin, info.yMax);
    if (kind.starts_with("logy")) {
        info.drawFlags = kDrawXLinear | kDrawCurve;
        info.yMin = kind == "logy" ? 1.0f : 0.0f;
    }
    if (kind != "logy0") CalculateScaling(info);
    return info;
}

TEST(CurveWalk, ClipsToBothBands) {
    for (const table::Row& c : table::Read("curve_walk.tsv")) {
        const TPointList points = table::Points(c[1]);
        PathRecorder rec;
        try {
            lumgl::WalkClippedCurve(points.data(), points.size(), UnitFrame(c[0]), rec);
        } catch (const lumgl::PlotError&) {
            rec.path = " throw";
        }
        EXPECT_EQ(rec.path.empty() ? "-" : rec.path.substr(1), c[2]) << c[0] << " " << c[1];
    }
}

TEST(ColumnReducer, KeepsFirstExtremesAndLastOfEachColumn) {
    PathRecorder out;
    lumgl::ColumnReducer reducer(out);
    reducer.moveTo({5, 50});
    for (int y : {40, 70, 20, 60, 45}) reducer.lineTo({5, y});  // one column: 20..70, ends 45
    reducer.lineTo({6, 30});                                    // next column: passed on as it is
    reducer.lineTo({6, 31});
    reducer.moveTo({8, 10});  // a move ends the run; nothing joins across it
    reducer.lineTo({8, 12});
    reducer.finish();
    EXPECT_EQ(out.path, " m 5,50 l 5,70 l 5,20 l 5,45 l 6,30 l 6,31 m 8,10 l 8,12");
}

TEST(LabelFormat, LinearAndLogarithmicLabels) {
    for (const table::Row& c : table::Read("label_formats.tsv")) {
        const double v = table::D(c[1]);
        std::string text;
        if (c[0] == "xformat") text = lumgl::LinearXLabelFormat(v);
        if (c[0] == "yformat") text = lumgl::LinearYLabelFormat(v);
        if (c[0] == "xlabel") text = lumgl::LinearXLabel(v, table::D(c[2]));
        if (c[0] == "ylabel") text = lumgl::LinearYLabel(v, table::D(c[2]));
        if (c[0] == "log") {
            const lumgl::LogLabel l = lumgl::LogAxisLabel(v);
            text = l.powerOfTen ? l.text + "^" + std::to_string(l.exponent) : l.text;
        }
        EXPECT_EQ(text, c[3]) << c[0] << " " << c[1];
    }
}

// The diagram of most golden cases: a 400 x 300 client area (font 14, margin 4, frame
// from (70, 269) to (386, 14)), x 400..700, y 0..50000.
SPlotInfo LinearDiagram() {
    return spectra::LinearDiagram(400, 300, 400.0f, 700.0f, 0.0f, 50000.0f);
}

std::string Trace(SPlotInfo& info, const std::string& points) {
    RecordingCanvas canvas({0, 0, 400, 300});
    PlotDrawing(table::Points(points), info, canvas);
    return canvas.trace();
}

TEST(PlotDrawingGolden, LinearAxesWithClippedCurve) {
    SPlotInfo info = LinearDiagram();
    golden::Expect("linear_axes_clipped_curve",
                   Trace(info,
                         "380,10000 420,20000 450,60000 480,30000 500,-10000 520,60000 "
                         "540,40000 560,40000 560.2f,40001 720,20000 600,30000"));
}

TEST(PlotDrawingGolden, SmallStepsWithGridLinesAndLogarithmicAxes) {
    SPlotInfo info = LinearDiagram();
    info.drawFlags = kDrawXLinear | kDrawYLinear | kDrawFrame | kDrawXGrid | kDrawYGrid;
    spectra::SetRange(info, 0.013f, 0.018f, -3.0f, 7.0f);
    golden::Expect("small_steps_grid", Trace(info, ""));
    info.drawFlags = kDrawFrame | kDrawCurve;  // both axes logarithmic
    spectra::SetRange(info, 1.0f, 500.0f, 0.5f, 2000.0f);
    golden::Expect("logarithmic_axes", Trace(info, "1,1 10,100 100,10 500,1000"));
}

TEST(PlotDrawing, BlackAndWhiteDrawsTheCurveInTheFramePen) {
    SPlotInfo info = LinearDiagram();
    info.drawFlags = kDrawXLinear | kDrawYLinear | kDrawCurve;
    info.framePen = SPenDesc{MakeColor(0, 0, 128), 2, PenStyle::Solid};
    info.stateFlags = kStateBlackWhite;
    // y 20000: the 32-bit yScale is a hair above 255 / 50000 in magnitude, so the
    // device y 166.99999 truncates to 166.
    EXPECT_EQ(Trace(info, "450,100 500,20000"),
              "pen #000080 2 solid\nmove 122,268\nline 175,166\n");
    info.stateFlags = 0;
    EXPECT_EQ(Trace(info, "450,100 500,20000").substr(0, 20), "pen #ff0000 1 solid\n");
}

TEST(PlotDrawing, InitialisationTakesRangesAndClientAreaVariantsKeepTheirAxisModes) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.drawFlags = kDrawInitialise;
    info.initFlags = kInitAll;
    SPlotInfo empty = info;
    RecordingCanvas canvas({0, 0, 600, 400});
    PlotDrawing({{400, 1}, {500, 3}, {600, 2}}, info, canvas);
    EXPECT_EQ(info.plotRect, (SDeviceRect{0, 0, 600, 400}));
    EXPECT_EQ(spectra::RangeOf(info), (std::array{400.0f, 600.0f, 1.0f, 3.0f}));
    EXPECT_EQ(info.drawFlags, 127);
    EXPECT_NE(canvas.trace().find("\"Bildtitel: Zeichnung (Default)\""), std::string::npos);
    EXPECT_EQ(CodeOf([&] { PlotDrawing({}, empty, canvas); }), 3);

    const TPointList points = {{1, 1}, {10, 5}, {1000, 3}};
    RecordingCanvas logLin({0, 0, 600, 400});
    PlotDrawingLogLin(points, nullptr, logLin);  // temporary SPlotInfo, initialised
    // Logarithmic x over 1..1000: powers of ten are drawn as "10" with an exponent.
    EXPECT_NE(logLin.trace().find("\"10\""), std::string::npos);
    EXPECT_NE(logLin.trace().find("\"3\""), std::string::npos);
    info = LinearDiagram();
    info.xMin = -1.0f;  // not drawable on a logarithmic x axis
    EXPECT_EQ(CodeOf([&] { PlotDrawingLogLin(points, &info, canvas); }), 1);
    EXPECT_EQ(info.drawFlags & kDrawXLinear, 0);
}

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
    CLine mercury =
        spectra::Identified(546.07f, 12500.0f, {"Hg I 546.0735;0.8", "Xe II 546.039;0.05*"},
                            {MakeColor(0, 0, 200), MakeColor(0, 140, 0)});
    mercury.speciesRecords[1] = "0.05;x;x;x;x;1;1";
    first.spectrumLines.add(mercury);
    first.spectrumLines.add(CLine(253.65f, 9200.0f));
    second.spectrumLines.add(CLine(696.54f, 5400.0f));

    SPlotInfo info = spectra::LinearDiagram(640, 480, 0, 1, 0, 1, "Zwei Spektren");
    info.drawFlags |= kDrawXGrid | kDrawYGrid;
    std::vector<lumgl::DiagramOverlay> overlays;
    for (const SpectrumRecord* s : {&first, &second})
        overlays.push_back({s, SPenDesc{lumgl::OverlayColor(overlays.size()), 1, PenStyle::Solid},
                            true, true, false});
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
