// Real instrument files of the shared sample folder (Grams, WinSpec, OOIBase32, AvaSoft, the
// later Ocean Optics programs, plain text), read as tests/lumio/data/samples.tsv says under
// their own names and under names that leave the choice to their content, and where an
// independent reader's output is stored, point by point against it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ReadCases.h"

using namespace lumtest;
namespace fs = std::filesystem;

namespace {

// Relative comparison for values that went through 32-bit floats and 10-digit printing.
::testing::AssertionResult near(double expected, double actual, double rel, double abs) {
    const double diff = std::abs(expected - actual);
    if (diff <= abs || diff <= rel * std::abs(expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << expected << ", got " << actual;
}

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
    EXPECT_EQ(rows.size(), 66u);
    for (const Sample& s : rows) EXPECT_EQ(s.f.size(), 14u) << s.f[0];
    for (const char* folder : {"spc", "spe", "ooibase32", "avasoft", "oceanoptics_text", "ascii"})
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

void expectRead(const Sample& sample, const fs::path& dir, const ScriptedUi& ui,
                const SpectrumRecord& record);

// One read of a table row's file under `name` (in a private folder) or, when empty, under
// its own path.
void readRow(const std::vector<std::string>& c, const fs::path& dir, const std::string& name,
             ScriptedUi& ui, SpectrumRecord& record, std::string& keyword, int& format) {
    TempFolder folder;
    record.fileName = (dir / c[0]).string();
    if (!name.empty()) {
        record.fileName = folder.path(name);
        fs::copy_file(dir / c[0], record.fileName);
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
    try {
        ReadFileData(ui, record, 1, format);
    } catch (const lumio::Outcome& e) {
        keyword = e.keyword();
    }
}

TEST_P(RealFile, ReadsAsTheTableSaysUnderItsOwnNameAndByContent) {
    const fs::path dir = fs::path(LUMORA_SHARED) / "samples";
    if (!fs::is_directory(dir))
        GTEST_SKIP() << "no sample folder at " << dir << ": real instrument files not checked";
    const auto& c = GetParam().f;
    // "*": text that the generic ASCII reader takes as well, once the extension is gone.
    const bool ownNameOnly = c[1].back() == '*';
    for (const std::string name : {"", "probe.dat", "probe"}) {
        if (ownNameOnly && !name.empty()) break;
        SCOPED_TRACE(c[0] + " as \"" + name + "\" choice " + c[2]);
        ScriptedUi ui;
        SpectrumRecord record;
        std::string keyword;
        int format = 0;
        readRow(c, dir, name, ui, record, keyword, format);
        ASSERT_EQ(keyword, "");
        EXPECT_EQ(format, std::stoi(c[1]));
        EXPECT_TRUE(ui.formatCalls.empty());
        EXPECT_TRUE(ui.messages.empty());
        expectRead(GetParam(), dir, ui, record);
    }
}

void expectRead(const Sample& sample, const fs::path& dir, const ScriptedUi& ui,
                const SpectrumRecord& record) {
    const auto& c = sample.f;
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
    const std::vector<std::string> units = {"nm", "angstrom", "pixel", "wavenumber"};
    const auto unit = std::find(units.begin(), units.end(), c[13]);
    EXPECT_EQ(record.xFormat.fileUnit,
              unit == units.end() ? SXFormat::kUnitUnknown : int(unit - units.begin()));

    if (c[12] == "-") return;
    // spc-parser gives x ascending; xyconv prints six decimals.
    const std::string name = c[0].substr(c[0].find('/') + 1);
    const auto expected =
        storedPairs(dir / "expected" / sample.folder() / (name + "." + c[12] + ".txt"));
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

INSTANTIATE_TEST_SUITE_P(TextInstrumentOceanOptics, RealFile,
                         ::testing::ValuesIn(samplesIn("oceanoptics_text")));
INSTANTIATE_TEST_SUITE_P(Ascii, RealFile, ::testing::ValuesIn(samplesIn("ascii")));

}  // namespace
