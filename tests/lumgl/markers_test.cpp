// Line markers, label texts, database bars, reticle and single segments on the recording
// canvas.
#include "lumgl/Markers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "ScriptedRunHost.h"
#include "Support.h"
#include "lumdb/Analysis.h"
#include "lumdb/Candidate.h"
#include "lumdb/Database.h"
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
    spectra::SetFrame(info, 50, 250, 450, 50);
    spectra::SetRange(info, 400.0f, 500.0f, 0.0f, 1000.0f);
    info.font.face = "Arial";
    info.font.height = 16;
    CalculateScaling(info);
    return info;
}

// The record of a candidate as the identification stores it: the database value, then
// J 2 and 1 in fields 6 and 7.
std::string RecordOf(const std::string& value) {
    return value + ";x;x;x;x;2;1";
}

TEST(LabelText, ValueKindsAndTheirExceptions) {
    for (const table::Row& c : table::Read("label_texts.tsv")) {
        const std::string record = c[2] == "-" ? "" : RecordOf(c[2]);
        const bool show = c[3] == "1";
        CSearchEngineLine line;
        line.wavelength = 453.88f;
        line.label = c[1];
        line.record = record;
        EXPECT_EQ(c[0] == "db" ? lumgl::DatabaseLabelText(line, show, table::I(c[4]))
                               : lumgl::IdentificationLabelText(c[1], record, show, table::I(c[4])),
                  c[5]);
    }
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
                EXPECT_EQ(lumdb::FormatCandidateLabel(c.species + " ",
                                                      static_cast<float>(c.wavelength), c.value()),
                          label);
                const std::string text = lumgl::IdentificationLabelText(label, record, true, 0);
                const std::size_t open = text.rfind('[');
                byClass[std::stoul(text.substr(open + 1))].insert(std::to_string(i) + "|" + label +
                                                                  "|" + record);
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

// In x order: at origin.x (neither triangle nor label), nothing identified, three species,
// exactly at bottomRight.x (no triangle).
TLineArray IdentifiedLines() {
    TLineArray lines;
    CLine edge(400.0f, 300.0f);
    edge.speciesLabels = {"Ca II 393.37;1"};
    edge.speciesColors = {MakeColor(10, 20, 30)};
    edge.speciesRecords = {RecordOf("1")};
    lines.add(edge);
    lines.add(CLine(425.0f, 100.0f));
    CLine three(450.0f, 500.0f);
    three.speciesLabels = {"Fe I 371.99;0.5", "Ar II 453.88;0.0004*", "N2 337.13;0.8"};
    three.speciesColors = {MakeColor(255, 0, 0), MakeColor(0, 128, 0), MakeColor(0, 0, 255)};
    three.speciesRecords = {RecordOf("0.5"), RecordOf("0.0004"), RecordOf("0.8")};
    lines.add(three);
    lines.add(CLine(500.0f, 100.0f));
    return lines;
}

TSearchEngineLineArray DatabaseLines() {
    TSearchEngineLineArray lines;
    CSearchEngineLine a;
    a.wavelength = 425.0f;
    a.label = "Ar II ;0.5";
    a.color = MakeColor(0, 0, 255);
    a.record = RecordOf("0.5");
    lines.add(a);
    a.wavelength = 520.0f;  // beyond the x range: neither bar nor label
    a.color = MakeColor(0, 255, 0);
    lines.add(a);
    return lines;
}

template <class Draw>
std::string Traced(bool blackAndWhite, Draw draw) {
    SPlotInfo info = MarkerFrame();
    info.stateFlags = blackAndWhite ? kStateBlackWhite : 0;
    RecordingCanvas canvas({0, 0, 500, 300});
    draw(info, canvas);
    return canvas.trace();
}

TEST(MarkersGolden, TrianglesLabelsInTheirColoursAndDatabaseBars) {
    // Triangles only strictly inside the frame; species side by side in their colours, and
    // black in black and white.
    golden::Expect("searched_line_triangles", Traced(false, [](auto& i, auto& c) {
                       DrawSearchedLines(IdentifiedLines(), i, c);
                   }));
    golden::Expect("identified_three_species", Traced(false, [](auto& i, auto& c) {
                       DrawIdentifiedElements(IdentifiedLines(), true, 0, i, c);
                   }));
    golden::Expect("black_white_labels", Traced(true, [](auto& i, auto& c) {
                       DrawIdentifiedElements(IdentifiedLines(), false, 0, i, c);
                   }));
    golden::Expect("database_bars", Traced(false, [](auto& i, auto& c) {
                       DrawDataBaseLines(DatabaseLines(), true, 0, i, c);
                   }));
    const std::string black =
        Traced(true, [](auto& i, auto& c) { DrawDataBaseLines(DatabaseLines(), true, 0, i, c); });
    EXPECT_EQ(black.find("#0000ff"), std::string::npos) << black;
}

TEST(MarkersGolden, ReticleRestoresWhatItCoveredAfterTwoMoves) {
    SPlotInfo info = MarkerFrame();
    spectra::SetFrame(info, 10, 20, 15, 16);
    ReticleBuffers buffers;
    MakeReticleStruct(buffers, true, 640, 480);
    RecordingCanvas canvas({0, 0, 40, 30});
    DrawReticle(info, {12, 18}, buffers, true, true, true, canvas);  // first cross
    DrawReticle(info, {14, 17}, buffers, true, true, true, canvas);  // a move
    DrawReticle(info, {0, 0}, buffers, true, false, false, canvas);  // taken away
    golden::Expect("reticle_two_moves", canvas.trace());
    // Every pixel written back holds what was there before the reticle came.
    for (int x = 0; x < 40; ++x) {
        for (int y = 0; y < 30; ++y)
            EXPECT_EQ(canvas.pixel({x, y}), RecordingCanvas::backgroundAt({x, y}));
    }
}

TEST(Markers, PlotDataPointLimitsAndSkips) {
    const SPlotInfo info = MarkerFrame();
    RecordingCanvas canvas({0, 0, 500, 300});
    PlotDataPoint(425.0f, -100.0f, 450.0f, 500.0f, info, canvas);   // y1 below: on the edge
    PlotDataPoint(425.0f, -5.0f, 450.0f, 2000.0f, info, canvas);    // both outside: nothing
    PlotDataPoint(425.0f, 1000.0f, 450.0f, 2000.0f, info, canvas);  // the limit is not inside
    PlotDataPoint(425.0f, 500.0f, 450.0f, 2000.0f, info, canvas);   // y2 above: top edge
    // y 500 maps to 149.9999985 (the 32-bit scale -0.2 is a hair above 0.2 in
    // magnitude) and segments truncate, so 149 where the rounded mapping gives 150.
    golden::Expect("data_point_segments", canvas.trace());
}

}  // namespace
