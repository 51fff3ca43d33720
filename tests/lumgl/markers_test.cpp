// Line markers, label texts, database bars, reticle and single segments on the recording
// canvas.
#include <gtest/gtest.h>

#include <string>

#include "Golden.h"
#include "lumgl/Markers.h"
#include "lumgl/RecordingCanvas.h"
#include "lumgl/lumgl.h"

namespace {

using lumgl::RecordingCanvas;

// Frame from (50, 250) to (450, 50) over x 400..500 (4 pixels per nm) and y 0..1000
// (0.2 pixels per unit); font height 16, so the label font is 12 high.
SPlotInfo MarkerFrame() {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.drawFlags = kDrawXLinear | kDrawYLinear;
    info.plotRect = {0, 0, 500, 300};
    info.origin = {50, 250};
    info.bottomRight = {450, 250};
    info.topLeft = {50, 50};
    info.topRight = {450, 50};
    info.xMin = 400.0f;
    info.xMax = 500.0f;
    info.yMin = 0.0f;
    info.yMax = 1000.0f;
    info.font.face = "Arial";
    info.font.height = 16;
    CalculateScaling(info);
    return info;
}

TEST(LabelText, ValueKindsAndTheirExceptions) {
    using lumgl::IdentificationLabelText;
    const std::string record = "0.5;x;x;x;x;2;1";  // J 2 and 1 in fields 6 and 7
    EXPECT_EQ(IdentificationLabelText("Fe I 371.99;0.5", record, true, 0), "Fe I  371.99 [500]");
    EXPECT_EQ(IdentificationLabelText("Fe I 371.99;0.00004", record, true, 0), "Fe I  371.99 [0]");
    EXPECT_EQ(IdentificationLabelText("Fe I 371.99;0.0004", record, true, 0), "Fe I  371.99 [1]");
    EXPECT_EQ(IdentificationLabelText("Fe I 371.99;0.3", record, true, 0), "Fe I  371.99 [300]");
    EXPECT_EQ(IdentificationLabelText("Fe I 371.99;0.5", record, true, 1), "Fe I  371.99 [5.000E-01]");
    // A molecule (no blank in the species) has no f-value or transition probability.
    EXPECT_EQ(IdentificationLabelText("N2 337.13;0.8", record, true, 1), "N2  337.13 [-]");
    EXPECT_EQ(IdentificationLabelText("N2 337.13;0.8", record, true, 2), "N2  337.13 [-]");
    // A one-letter species is an atom.
    EXPECT_EQ(IdentificationLabelText("H 656.28;0.3", record, true, 1), "H  656.28 [3.000E-01]");
    EXPECT_EQ(IdentificationLabelText("Fe I 371.99;0", record, true, 1), "Fe I  371.99 [-]");
    // 0.5 * 6.67e13 * (2*2+1) / ((2*1+1) * 371.99^2) = 4.0168e8
    EXPECT_EQ(IdentificationLabelText("Fe I 371.99;0.5", record, true, 2), "Fe I  371.99 [4.017E+08]");
    // The star of a species with several candidates moves behind the wavelength.
    EXPECT_EQ(IdentificationLabelText("Fe I 371.99;0.5*", record, true, 0), "Fe I  371.99* [500]");
    EXPECT_EQ(IdentificationLabelText("Fe I 371.99;0.5*", record, false, 0), "Fe I  371.99*");

    CSearchEngineLine line;
    line.wavelength = 453.88f;
    line.label = "Ar II ;0.5";
    line.record = record;
    EXPECT_EQ(lumgl::DatabaseLabelText(line, true, 0), "Ar II  453.88 [500]");
    EXPECT_EQ(lumgl::DatabaseLabelText(line, false, 0), "Ar II  453.88");
    line.label = "CN ;0.5";
    EXPECT_EQ(lumgl::DatabaseLabelText(line, true, 2), "CN  453.88 [-]");
}

TEST(Markers, TrianglesOnlyStrictlyInsideTheFrame) {
    const SPlotInfo info = MarkerFrame();
    TLineArray lines;
    lines.add(CLine(400.0f, 100.0f));  // exactly at origin.x: no triangle
    lines.add(CLine(425.0f, 100.0f));
    lines.add(CLine(450.0f, 500.0f));
    lines.add(CLine(500.0f, 100.0f));  // exactly at bottomRight.x
    RecordingCanvas canvas({0, 0, 500, 300});
    DrawSearchedLines(lines, info, canvas);
    EXPECT_EQ(canvas.trace(),
              "pen #000000 1 solid\n"
              "brush #ff0000\n"
              "polygon 150,224 146,214 154,214\n"
              "polygon 250,144 246,134 254,134\n");
}

TLineArray IdentifiedLines() {
    TLineArray lines;
    CLine three(450.0f, 500.0f);
    const std::string record = "0.5;x;x;x;x;2;1";
    three.speciesLabels = {"Fe I 371.99;0.5", "Ar II 453.88;0.0004*", "N2 337.13;0.8"};
    three.speciesColors = {MakeColor(255, 0, 0), MakeColor(0, 128, 0), MakeColor(0, 0, 255)};
    three.speciesRecords = {record, record, record};
    lines.add(three);
    CLine edge(400.0f, 300.0f);  // at origin.x: no label
    edge.speciesLabels = {"Ca II 393.37;1"};
    edge.speciesColors = {MakeColor(10, 20, 30)};
    edge.speciesRecords = {record};
    lines.add(edge);
    lines.add(CLine(475.0f, 200.0f));  // nothing identified
    return lines;
}

TEST(MarkersGolden, ThreeSpeciesSideBySideInTheirColours) {
    const SPlotInfo info = MarkerFrame();
    RecordingCanvas canvas({0, 0, 500, 300});
    DrawIdentifiedElements(IdentifiedLines(), true, 0, info, canvas);
    golden::Expect("identified_three_species", canvas.trace());
}

TEST(Markers, BlackAndWhiteLabelsStayBlack) {
    SPlotInfo info = MarkerFrame();
    info.stateFlags = kStateBlackWhite;
    RecordingCanvas canvas({0, 0, 500, 300});
    DrawIdentifiedElements(IdentifiedLines(), false, 0, info, canvas);
    EXPECT_EQ(canvas.trace(),
              "font \"Times New Roman\" 12 400 esc 900\n"
              "textcolor #000000\n"
              "text 233,129 left|top \"Fe I  371.99\"\n"
              "text 244,129 left|top \"Ar II  453.88*\"\n"
              "text 255,129 left|top \"N2  337.13\"\n");
}

TSearchEngineLineArray DatabaseLines() {
    TSearchEngineLineArray lines;
    CSearchEngineLine a;
    a.wavelength = 425.0f;
    a.label = "Ar II ;0.5";
    a.color = MakeColor(0, 0, 255);
    a.record = "0.5;x;x;x;x;2;1";
    lines.add(a);
    CSearchEngineLine b = a;
    b.wavelength = 520.0f;  // beyond the x range: neither bar nor label
    b.color = MakeColor(0, 255, 0);
    lines.add(b);
    return lines;
}

TEST(MarkersGolden, DatabaseBarsAndLabels) {
    SPlotInfo info = MarkerFrame();
    RecordingCanvas canvas({0, 0, 500, 300});
    DrawDataBaseLines(DatabaseLines(), true, 0, info, canvas);
    golden::Expect("database_bars", canvas.trace());

    info.stateFlags = kStateBlackWhite;
    RecordingCanvas black({0, 0, 500, 300});
    DrawDataBaseLines(DatabaseLines(), true, 0, info, black);
    EXPECT_EQ(black.trace().find("#0000ff"), std::string::npos) << black.trace();
}

TEST(MarkersGolden, ReticleRestoresWhatItCoveredAfterTwoMoves) {
    SPlotInfo info = MarkerFrame();
    info.origin = {10, 20};
    info.bottomRight = {15, 20};
    info.topLeft = {10, 16};
    info.topRight = {15, 16};
    ReticleBuffers buffers;
    MakeReticleStruct(buffers, true, 640, 480);
    RecordingCanvas canvas({0, 0, 40, 30});
    DrawReticle(info, {12, 18}, buffers, true, true, true, canvas);  // first cross
    DrawReticle(info, {14, 17}, buffers, true, true, true, canvas);  // a move
    DrawReticle(info, {0, 0}, buffers, true, false, false, canvas);  // taken away
    golden::Expect("reticle_two_moves", canvas.trace());
    // Every pixel written back holds what was there before the reticle came.
    for (int x = 0; x < 40; ++x) {
        for (int y = 0; y < 30; ++y) {
            EXPECT_EQ(canvas.pixel({x, y}), RecordingCanvas::backgroundAt({x, y}));
        }
    }
}

TEST(Markers, PlotDataPointLimitsAndSkips) {
    const SPlotInfo info = MarkerFrame();
    RecordingCanvas canvas({0, 0, 500, 300});
    PlotDataPoint(425.0f, -100.0f, 450.0f, 500.0f, info, canvas);  // y1 below: on the edge
    PlotDataPoint(425.0f, -5.0f, 450.0f, 2000.0f, info, canvas);   // both outside: nothing
    PlotDataPoint(425.0f, 1000.0f, 450.0f, 2000.0f, info, canvas);  // the limit is not inside
    PlotDataPoint(425.0f, 500.0f, 450.0f, 2000.0f, info, canvas);  // y2 above: top edge
    // y 500 maps to 149.9999985 (the 32-bit scale -0.2 is a hair above 0.2 in
    // magnitude) and segments truncate, so 149 where the rounded mapping gives 150.
    EXPECT_EQ(canvas.trace(),
              "pen #ff0000 1 solid\nmove 150,250\nline 250,149\n"
              "pen #ff0000 1 solid\n"
              "pen #ff0000 1 solid\n"
              "pen #ff0000 1 solid\nmove 150,149\nline 250,50\n");
}

}  // namespace
