// Real instrument files of the shared sample folder (Grams, WinSpec, OOIBase32, AvaSoft),
// read as tests/lumio/data/samples.tsv says, and where an independent reader's output is
// stored, point by point against it.
#include <gtest/gtest.h>

#include <algorithm>

#include "InstrumentTestSupport.h"
#include "ReadCases.h"

using namespace lumtest;

namespace {

struct Sample {
    std::vector<std::string> f;  // the table's columns, in order
    std::string folder() const { return f[0].substr(0, f[0].find('/')); }
    // Test names and failures name the sample file.
    friend void PrintTo(const Sample& s, std::ostream* out) { *out << s.f.at(0); }
};

std::vector<Sample> samplesIn(const std::string& folder) {
    std::vector<Sample> rows;
    for (auto& row : tableRows("samples.tsv"))
        if (folder.empty() || Sample{row}.folder() == folder) rows.push_back(Sample{row});
    return rows;
}

// A lost or mangled table would otherwise leave the tests below without a single case.
TEST(RealFileTable, EveryRowHasItsColumnsAndEveryFolderItsRows) {
    const auto rows = samplesIn("");
    EXPECT_EQ(rows.size(), 45u);
    for (const Sample& s : rows) EXPECT_EQ(s.f.size(), 13u) << s.f[0];
    for (const char* folder : {"spc", "spe", "ooibase32", "avasoft"})
        EXPECT_FALSE(samplesIn(folder).empty()) << folder;
}

// The x,y pairs of a stored reader output.
std::vector<std::pair<double, double>> storedPairs(const fs::path& file) {
    std::vector<std::pair<double, double>> pairs;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        double x, y;
        if (fields >> x >> y) pairs.emplace_back(x, y);
    }
    return pairs;
}

void expectValue(const std::string& cell, double actual, double abs, const char* what) {
    if (cell != "-") {
        EXPECT_TRUE(near(std::stod(cell), actual, 2e-6, abs)) << what;
    }
}

class RealFile : public ::testing::TestWithParam<Sample> {};

TEST_P(RealFile, ReadsAsTheTableSays) {
    LUMTEST_REQUIRE_SAMPLES(dir);
    const auto& c = GetParam().f;
    SCOPED_TRACE(c[0] + " choice " + c[2]);
    ScriptedUi ui;
    SpectrumRecord record;
    record.fileName = (dir / c[0]).string();
    // A file whose extension belongs to another reader is copied under a neutral name, so
    // that the format dialog comes up at once.
    TempFolder folder;
    const int format = std::stoi(c[1]);
    if (format) {
        record.fileName = folder.path("probe.dat");
        fs::copy_file(dir / c[0], record.fileName);
        ui.formatAnswers.push_back(format);
    }
    const std::string& choice = c[2];
    const auto comma = choice.find(',');
    if (comma != std::string::npos)
        ui.frameStripAnswers.push_back(lumio::Ui::FrameStrip{std::stoi(choice.substr(0, comma)),
                                                             std::stoi(choice.substr(comma + 1))});
    else if (choice != "-") {
        ui.trackAnswers.push_back(std::stoi(choice));
        ui.columnAnswers.push_back(std::stoi(choice));
    }
    const auto out = readSpectrum(ui, record);
    EXPECT_EQ(ui.formatCalls.size(), format ? 1u : 0u);
    if (c[4] == "refused") {
        EXPECT_EQ(out.keyword, "CancelOpenFile");
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(record.points.empty());
        return;
    }
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_TRUE(ui.messages.empty());

    const std::string& dialog = c[3];
    const std::size_t dialogs =
        ui.trackCalls.size() + ui.frameStripCalls.size() + ui.columnCalls.size();
    EXPECT_EQ(dialogs, dialog == "-" ? 0u : 1u);
    if (!ui.trackCalls.empty()) {
        EXPECT_EQ(std::to_string(ui.trackCalls[0].count), dialog);
    }
    if (!ui.frameStripCalls.empty()) {
        EXPECT_EQ(std::to_string(ui.frameStripCalls[0].frames) + "," +
                      std::to_string(ui.frameStripCalls[0].strips),
                  dialog);
    }

    ASSERT_EQ(record.points.size(), std::stoul(c[4]));
    expectValue(c[5], record.points.front().x, 1e-5, "first x");
    expectValue(c[6], record.points.front().y, 1e-9, "first y");
    expectValue(c[7], record.points.back().x, 1e-5, "last x");
    expectValue(c[8], record.points.back().y, 1e-9, "last y");
    expectValue(c[9], record.plotInfo.yMin, 1e-9, "y minimum");
    expectValue(c[10], record.plotInfo.yMax, 1e-9, "y maximum");
    if (c[11] != "-") {
        EXPECT_EQ(record.plotInfo.xTitle + "|" + record.plotInfo.yTitle, c[11]);
    }

    if (c[12] == "-") return;
    // spc-parser gives x ascending; xyconv prints six decimals.
    const std::string name = c[0].substr(c[0].find('/') + 1);
    const auto expected =
        storedPairs(dir / "expected" / GetParam().folder() / (name + "." + c[12] + ".txt"));
    ASSERT_EQ(expected.size(), record.points.size());
    std::vector<TPointF> ours(record.points.begin(), record.points.end());
    if ((ours.front().x > ours.back().x) != (expected.front().first > expected.back().first))
        std::reverse(ours.begin(), ours.end());
    const double abs = c[12] == "xyconv" ? 2e-6 : 1e-8;
    int mismatches = 0;
    for (std::size_t i = 0; i < ours.size(); ++i)
        if (!near(expected[i].first, ours[i].x, 2e-6, abs) ||
            !near(expected[i].second, ours[i].y, 2e-6, abs))
            ++mismatches;
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Grams, RealFile, ::testing::ValuesIn(samplesIn("spc")));
INSTANTIATE_TEST_SUITE_P(WinSpec, RealFile, ::testing::ValuesIn(samplesIn("spe")));
INSTANTIATE_TEST_SUITE_P(TextInstrumentOOIBase, RealFile,
                         ::testing::ValuesIn(samplesIn("ooibase32")));
INSTANTIATE_TEST_SUITE_P(TextInstrumentAvaSoft, RealFile,
                         ::testing::ValuesIn(samplesIn("avasoft")));

TEST(TextInstrumentSamples, OceanOpticsExportsOfLaterProgramsAreNoOOIBaseFiles) {
    // SpectraSuite, OceanView and Jaz files lack the OOIBase32 line, so their header is taken
    // for data and the pre-check refuses them.
    LUMTEST_REQUIRE_SAMPLES(dir);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir / "oceanoptics_text")) {
        SCOPED_TRACE(entry.path().filename().string());
        ScriptedUi ui;
        SpectrumRecord record;
        TempFolder folder;
        record.fileName = folder.path("probe.dat");
        fs::copy_file(entry.path(), record.fileName);
        ui.formatAnswers.push_back(9);
        EXPECT_EQ(readSpectrum(ui, record).keyword, "UnknownFormat");
        ++files;
    }
    EXPECT_EQ(files, 9);
}

}  // namespace
