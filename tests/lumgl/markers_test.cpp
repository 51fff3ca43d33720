// Line markers, label texts, database bars, reticle and single segments on the recording
// canvas.
#include "lumgl/Markers.h"

#include <filesystem>
#include <map>
#include <set>

#include "ScriptedRunHost.h"
#include "Support.h"
#include "lumdb/Analysis.h"
#include "lumdb/Candidate.h"
#include "lumdb/Database.h"
#include "lumgl/RecordingCanvas.h"

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

TEST(LabelText, ValueKindsAndTheirExceptions) {
    for (const table::Row& c : table::Read("label_texts.tsv")) {
        const std::string record = c[2] == "-" ? "" : c[2] + ";x;x;x;x;2;1";
        CSearchEngineLine line;
        line.wavelength = 453.88f;
        line.label = c[1];
        line.record = record;
        EXPECT_EQ(c[0] == "db"
                      ? lumgl::DatabaseLabelText(line, c[3] == "1", table::I(c[4]))
                      : lumgl::IdentificationLabelText(c[1], record, c[3] == "1", table::I(c[4])),
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
    if (!in) GTEST_SKIP() << "no instrument samples in " << LUMORA_SHARED;
    std::string rows((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const TPointList points = table::Points(rows.substr(rows.find('\n')));  // after the titles
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
            for (std::size_t k = 0; k < lines[i].candidateLabels.size(); ++k) {
                const std::string& label = lines[i].candidateLabels[k];
                const std::string& record = lines[i].candidateRecords[k];
                const lumdb::Candidate c = lumdb::ParseCandidate(label, record);
                EXPECT_EQ(lumdb::FormatCandidateLabel(c.species + " ",
                                                      static_cast<float>(c.wavelength), c.value()),
                          label);
                const std::string text = lumgl::IdentificationLabelText(label, record, true, 0);
                byClass[std::stoul(text.substr(text.rfind('[') + 1))].insert(
                    std::to_string(i) + "|" + label + "|" + record);
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

// Searched lines (0), identified lines with (1) and without (2) their values, database lines
// (3), in colour or in black and white.
std::string Traced(int what, bool blackAndWhite) {
    SPlotInfo info = MarkerFrame();
    info.stateFlags = blackAndWhite ? kStateBlackWhite : 0;
    RecordingCanvas canvas({0, 0, 500, 300});
    // In x order: at origin.x (neither triangle nor label), nothing identified, three species,
    // exactly at bottomRight.x (no triangle).
    TLineArray lines;
    lines.add(spectra::Identified(400.0f, 300.0f, {"Ca II 393.37;1"}, {MakeColor(10, 20, 30)}));
    lines.add(CLine(425.0f, 100.0f));
    lines.add(spectra::Identified(
        450.0f, 500.0f, {"Fe I 371.99;0.5", "Ar II 453.88;0.0004*", "N2 337.13;0.8"},
        {MakeColor(255, 0, 0), MakeColor(0, 128, 0), MakeColor(0, 0, 255)}));
    lines.add(CLine(500.0f, 100.0f));
    // Database lines: the second beyond the x range (neither bar nor label).
    TSearchEngineLineArray database;
    CSearchEngineLine a;
    a.label = "Ar II ;0.5";
    a.record = "0.5;x;x;x;x;2;1";
    for (const auto& [x, color] :
         {std::pair{425.0f, MakeColor(0, 0, 255)}, {520.0f, MakeColor(0, 255, 0)}}) {
        a.wavelength = x;
        a.color = color;
        database.add(a);
    }
    if (what == 0) DrawSearchedLines(lines, info, canvas);
    if (what == 1 || what == 2) DrawIdentifiedElements(lines, what == 1, 0, info, canvas);
    if (what == 3) DrawDataBaseLines(database, true, 0, info, canvas);
    return canvas.trace();
}

// Triangles only strictly inside the frame; species side by side in their colours, and
// black in black and white.
TEST(MarkersGolden, TrianglesLabelsInTheirColoursAndDatabaseBars) {
    for (const auto& [name, what, blackAndWhite] : {std::tuple{"searched_line_triangles", 0, false},
                                                    {"identified_three_species", 1, false},
                                                    {"black_white_labels", 2, true},
                                                    {"database_bars", 3, false}})
        golden::Expect(name, Traced(what, blackAndWhite));
    EXPECT_EQ(Traced(3, true).find("#0000ff"), std::string::npos);
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
