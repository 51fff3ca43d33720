// Line markers, label texts, database bars, reticle and single segments on the recording
// canvas.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "Golden.h"
#include "ScriptedRunHost.h"
#include "lumdb/Analysis.h"
#include "lumdb/Candidate.h"
#include "lumdb/Database.h"
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

// The record of a candidate as the identification stores it: the database value, then
// J 2 and 1 in fields 6 and 7.
std::string RecordOf(const std::string& value) { return value + ";x;x;x;x;2;1"; }

TEST(LabelText, ValueKindsAndTheirExceptions) {
    auto label = [](const std::string& text, const std::string& value, bool showValue, int type) {
        return lumgl::IdentificationLabelText(text, RecordOf(value), showValue, type);
    };
    EXPECT_EQ(label("Fe I 371.99;0.5", "0.5", true, 0), "Fe I  371.99 [500]");
    EXPECT_EQ(label("Fe I 371.99;4e-05", "0.00004", true, 0), "Fe I  371.99 [0]");
    EXPECT_EQ(label("Fe I 371.99;0.0004", "0.0004", true, 0), "Fe I  371.99 [1]");
    EXPECT_EQ(label("Fe I 371.99;0.3", "0.3", true, 0), "Fe I  371.99 [300]");
    // The class is the identification's: 1000 v of the record's value rounded up in float.
    // The label's copy of the value is rounded to six digits and would give 2.
    EXPECT_EQ(label("Fe I 371.99;0.002", "0.0020000004", true, 0), "Fe I  371.99 [3]");
    EXPECT_EQ(label("Fe I 371.99;0.5", "0.5", true, 1), "Fe I  371.99 [5.000E-01]");
    // A molecule (no blank in the species) has no f-value or transition probability.
    EXPECT_EQ(label("N2 337.13;0.8", "0.8", true, 1), "N2  337.13 [-]");
    EXPECT_EQ(label("N2 337.13;0.8", "0.8", true, 2), "N2  337.13 [-]");
    // A one-letter species is an atom.
    EXPECT_EQ(label("H 656.28;0.3", "0.3", true, 1), "H  656.28 [3.000E-01]");
    EXPECT_EQ(label("Fe I 371.99;0", "0", true, 1), "Fe I  371.99 [-]");
    // 0.5 * 6.67e13 * (2*2+1) / ((2*1+1) * 371.99^2) = 4.0168e8
    EXPECT_EQ(label("Fe I 371.99;0.5", "0.5", true, 2), "Fe I  371.99 [4.017E+08]");
    // The star of a species with several candidates moves behind the wavelength.
    EXPECT_EQ(label("Fe I 371.99;0.5*", "0.5", true, 0), "Fe I  371.99* [500]");
    EXPECT_EQ(label("Fe I 371.99;0.5*", "0.5", false, 0), "Fe I  371.99*");
    // Without a record the label's value stands in.
    EXPECT_EQ(lumgl::IdentificationLabelText("Fe I 371.99;0.5", "", true, 0), "Fe I  371.99 [500]");

    CSearchEngineLine line;
    line.wavelength = 453.88f;
    line.label = "Ar II ;0.5";
    line.record = RecordOf("0.5");
    EXPECT_EQ(lumgl::DatabaseLabelText(line, true, 0), "Ar II  453.88 [500]");
    EXPECT_EQ(lumgl::DatabaseLabelText(line, false, 0), "Ar II  453.88");
    line.label = "CN ;0.5";
    EXPECT_EQ(lumgl::DatabaseLabelText(line, true, 2), "CN  453.88 [-]");
}

// A LIBS spectrum of a basalt standard, searched and identified against the sample
// database: on every candidate, the class its label shows is the class by which the
// identification keeps or drops it, and its label is the text form read back and written
// again byte for byte.
TEST(LabelText, ShowsTheIdentificationsClassOnEveryCandidateOfARealSpectrum) {
    const std::string programDir = LUMORA_PROGRAM_DIR;
    if (!std::filesystem::exists(programDir + "/Data/Elements.lmt"))
        GTEST_SKIP() << "sample database not built (target lumora_database)";
    std::ifstream in(std::string(LUMORA_SHARED) + "/samples/ascii/csa_bhvo2_200pulse_spectrum.csv");
    ASSERT_TRUE(in);
    TPointList points;
    std::string row;
    std::getline(in, row);  // column titles
    while (std::getline(in, row)) {
        const std::size_t comma = row.find(',');
        points.push_back({std::stof(row.substr(0, comma)), std::stof(row.substr(comma + 1))});
    }
    ASSERT_EQ(points.size(), 13490u);

    lumtest::ScriptedRunHost host;
    std::string dataDir;
    ASSERT_EQ(CheckDataDirectory(host, programDir, dataDir), 1);
    TElementArray elements;
    GetElements(programDir, elements);
    const std::set<std::string> basalt = {"Fe", "Ca", "Mg", "Si", "Al", "Na", "Ti", "K", "Mn", "H"};
    for (CElement& e : elements) e.selected = basalt.count(e.name) > 0;
    SLineSearchVal search;
    TPointList smoothed;
    TLineArray found;
    ASSERT_EQ(LineSearch(host, points, smoothed, found, &search), 1);

    SSelectElVal values;
    values.Neutrals = values.FirstIons = true;
    values.SearchRange = 0.1f;
    // (line, label, record) of every candidate of a run, by the class its label shows.
    auto candidatesByClass = [&](bool inRange, float strengthClass) {
        values.IntensityRange = inRange;
        values.LowerIntensity = values.UpperIntensity = strengthClass;
        TLineArray lines = found;
        EXPECT_EQ(LineIdentification(host, dataDir, lines, elements, values), 1);
        std::map<unsigned long, std::multiset<std::string>> byClass;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const CLine& line = lines[i];
            for (std::size_t k = 0; k < line.candidateLabels.size(); ++k) {
                const std::string& label = line.candidateLabels[k];
                const std::string& record = line.candidateRecords[k];
                const lumdb::Candidate c = lumdb::ParseCandidate(label, record);
                EXPECT_EQ(lumdb::FormatCandidateLabel(c.species + " ", static_cast<float>(c.wavelength), c.value()),
                          label);
                const std::string text = lumgl::IdentificationLabelText(label, record, true, 0);
                const std::size_t open = text.rfind('[');
                byClass[std::stoul(text.substr(open + 1))].insert(std::to_string(i) + "|" + label + "|" + record);
            }
        }
        return byClass;
    };
    const auto all = candidatesByClass(false, 0.0f);
    std::size_t candidates = 0;
    for (const auto& [strengthClass, keys] : all) {
        candidates += keys.size();
        const auto kept = candidatesByClass(true, static_cast<float>(strengthClass));
        ASSERT_EQ(kept.size(), 1u) << "class " << strengthClass;
        EXPECT_EQ(kept.begin()->first, strengthClass);
        EXPECT_EQ(kept.begin()->second, keys) << "class " << strengthClass;
    }
    EXPECT_GT(candidates, 400u);
    EXPECT_GT(all.size(), 20u);
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
    three.speciesLabels = {"Fe I 371.99;0.5", "Ar II 453.88;0.0004*", "N2 337.13;0.8"};
    three.speciesColors = {MakeColor(255, 0, 0), MakeColor(0, 128, 0), MakeColor(0, 0, 255)};
    three.speciesRecords = {RecordOf("0.5"), RecordOf("0.0004"), RecordOf("0.8")};
    lines.add(three);
    CLine edge(400.0f, 300.0f);  // at origin.x: no label
    edge.speciesLabels = {"Ca II 393.37;1"};
    edge.speciesColors = {MakeColor(10, 20, 30)};
    edge.speciesRecords = {RecordOf("1")};
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
    a.record = RecordOf("0.5");
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
