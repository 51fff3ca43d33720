// The reading frame: extension dispatch, the format dialog fallback, the value rules,
// the monotony check and the dialog filters. Readers here are small test readers put into
// the format table, so the frame is tested on its own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

#include "ChildProcess.h"
#include "FormatTable.h"
#include "ReadCases.h"
#include "ScriptedUi.h"
#include "ValueRules.h"
#include "lumio/lumio.h"

using namespace lumio;
using namespace lumio::detail;
namespace fs = std::filesystem;

namespace {

// Swaps the table for the test and restores it afterwards.
class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = mutableFormatTable();
        dir_ = fs::temp_directory_path() / ("lumio-frame-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        mutableFormatTable() = saved_;
        fs::remove_all(dir_);
    }
    std::string makeFile(const std::string& name, const std::string& content = "x") {
        const auto path = (dir_ / name).string();
        std::ofstream(path) << content;
        return path;
    }
    // Reads `record` and hands back the keyword the read ended in ("" when it succeeded).
    std::string failure(int preselect) {
        try {
            ReadFileData(ui, record, preselect);
        } catch (const Outcome& e) {
            return e.keyword();
        }
        return "";
    }
    static FormatEntry& row(int formatCode) {
        return mutableFormatTable()[static_cast<std::size_t>(formatCode - 1)];
    }

    lumtest::ScriptedUi ui;
    SpectrumRecord record;

  private:
    std::vector<FormatEntry> saved_;
    fs::path dir_;
};

// Test readers record which of them ran and what record they saw.
int g_ran = 0;
std::size_t g_pointsSeen = 0;
std::string g_nameSeen;

void readerRising(ReadContext& ctx) {
    g_ran = 1;
    g_pointsSeen = ctx.record.points.size();
    g_nameSeen = ctx.record.fileName;
    PointCollector points(ctx);
    for (int i = 1; i <= 4; ++i) points.add(i, 10 * i);
    points.finish();
}
void readerPartialThenUnknown(ReadContext& ctx) {
    g_ran = 2;
    ctx.record.fileName += " #2";
    PointCollector points(ctx);
    points.add(1, 1);
    points.add(2, 2);
    fail(keyword::UnknownFormat);
}
void readerNullFile(ReadContext&) {
    g_ran = 3;
    fail(keyword::NullFile);
}
void readerNotMonotonic(ReadContext& ctx) {
    g_ran = 4;
    PointCollector points(ctx);
    points.add(1, 1);
    points.add(3, 1);
    points.add(2, 1);
    points.finish();
}

}  // namespace

// Extension dispatch, number fields and the dialog filters as the tables in tests/lumio/data/ say.
TEST(ExtensionDispatch, FileNamesFindTheirFormatAsTheTableSays) {
    const auto rows = lumtest::tableRows("extensions.tsv");
    EXPECT_EQ(rows.size(), 24u);
    for (const auto& r : rows) {
        const FormatEntry* e = matchExtension(r[0]);
        EXPECT_EQ(e ? e->formatCode : 0, std::stoi(r[1])) << r[0];
    }
}

TEST(NumberFields, DecimalCommaThousandsAndAtofPrefixes) {
    const auto rows = lumtest::tableRows("number_fields.tsv");
    EXPECT_EQ(rows.size(), 15u);
    for (const auto& r : rows) {
        const double expected = std::stod(r[1]), actual = parseNumberField(r[0]);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(actual)) << r[0];
        else
            EXPECT_DOUBLE_EQ(actual, expected) << r[0];
    }
}

TEST(GetFilterString, EveryListByteForByte) {
    const auto rows = lumtest::tableRows("filter_strings.tsv");
    EXPECT_EQ(rows.size(), 8u);
    for (const auto& r : rows)
        EXPECT_EQ(GetFilterString(r[0], std::stoi(r[1])), r.size() > 2 ? r[2] : "") << r[0] << r[1];
}

TEST(FormatTableRows, CodesListEntriesAndFilterIndexes) {
    const auto& table = formatTable();
    ASSERT_EQ(table.size(), 15u);
    // The open dialog's filters as label/pattern pairs: a format's filter index points at
    // the pair whose patterns name its extensions (rows without extensions share the one
    // above them).
    const std::string open = GetFilterString("open", 1);
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar; (bar = open.find('|', start)) != std::string::npos; start = bar + 1)
        parts.push_back(open.substr(start, bar - start));
    parts.push_back(open.substr(start));
    const int expectedIndex[15] = {2, 3, 3, 4, 4, 5, 6, 7, 8, 9, 10, 10, 11, 12, 13};
    std::string extension;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].formatCode, static_cast<int>(i) + 1);
        const int index = filterIndex(table[i].formatCode);
        EXPECT_EQ(index, expectedIndex[i]) << i;
        if (!table[i].extensions.empty()) extension = std::string(table[i].extensions.front());
        ASSERT_LE(2 * static_cast<std::size_t>(index), parts.size()) << i;
        std::string patterns = parts[2 * static_cast<std::size_t>(index) - 1];
        for (char& c : patterns) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_NE(patterns.find("*." + extension), std::string::npos) << i;
    }
    EXPECT_STREQ(table[1].listEntry, "ASCII-Datei:  X,Y-Werte");
    EXPECT_STREQ(table[4].listEntry, "Binäre Datei:  Y-Werte");
    EXPECT_STREQ(table[11].listEntry, "Grams-Datei:  Altes Format");
}

TEST_F(FrameTest, UnknownExtensionAsksForTheFormatAndRunsTheChosenReader) {
    row(3).byChoice = readerRising;
    record.fileName = makeFile("probe.xyz");
    ui.formatAnswers.push_back(3);
    g_ran = 0;
    EXPECT_EQ(ReadFileData(ui, record, 4), 3);
    EXPECT_EQ(g_ran, 1);
    ASSERT_EQ(ui.formatCalls.size(), 1u);
    EXPECT_EQ(ui.formatCalls[0].entries.size(), 15u);
    EXPECT_EQ(ui.formatCalls[0].entries[2], "ASCII-Datei:  Y-Werte");
    EXPECT_EQ(ui.formatCalls[0].preselectIndex, 3);
    EXPECT_EQ(record.points.size(), 4u);
    EXPECT_FLOAT_EQ(record.plotInfo.xMax, 4.0f);
    EXPECT_FLOAT_EQ(record.plotInfo.yMin, 10.0f);
}

TEST_F(FrameTest, CancelledOrInvalidFormatChoice) {
    record.fileName = makeFile("probe.xyz");
    EXPECT_EQ(failure(1), "CancelOpenFile");
    ui.formatAnswers.push_back(15);
    EXPECT_EQ(failure(1), "UnknownFormat");
    // A chosen reader failing with "UnknownFormat" ends the read: no second dialog.
    row(5).byChoice = readerPartialThenUnknown;
    ui.formatAnswers.push_back(5);
    EXPECT_EQ(failure(1), "UnknownFormat");
    EXPECT_EQ(ui.formatCalls.size(), 3u);

    // Other failures of an extension reader end the read without the dialog.
    row(1).byExtension = readerNullFile;
    record.fileName = makeFile("probe.lmx");
    EXPECT_EQ(failure(2), "NullFile");
    EXPECT_EQ(ui.formatCalls.size(), 3u);
}

TEST_F(FrameTest, ExtensionReaderFailingWithUnknownFormatFallsBackOnACleanRecord) {
    row(4).byExtension = readerPartialThenUnknown;
    row(5).byChoice = readerRising;
    const std::string path = makeFile("probe.bin");
    record.fileName = path;
    ui.formatAnswers.push_back(5);
    EXPECT_EQ(ReadFileData(ui, record, 4), 4);
    EXPECT_EQ(g_ran, 1);
    EXPECT_EQ(g_pointsSeen, 0u);  // the failed attempt's points are gone
    EXPECT_EQ(g_nameSeen, path);  // and so is its track suffix
    EXPECT_EQ(ui.formatCalls.at(0).path, path);
    EXPECT_EQ(record.points.size(), 4u);
}

TEST_F(FrameTest, MissingFileIsNoFileAndWriteProtectedFileOpens) {
    row(1).byExtension = readerRising;
    record.fileName = makeFile("gone.lmx");
    fs::remove(record.fileName);
    EXPECT_EQ(failure(2), "NoFile");
    // Read by a user who may read the file but not write it (root ignores the mode bits).
    record.fileName = makeFile("protected.lmx");
    fs::permissions(record.fileName,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(fs::path(record.fileName).parent_path(),
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec);
    const int status = lumtest::asUnprivilegedUser([&] {
        if (std::FILE* f = std::fopen(record.fileName.c_str(), "r+")) {
            std::fclose(f);
            return 2;  // the file is writable after all: nothing would be tested
        }
        try {
            ReadFileData(ui, record, 2);
        } catch (const Outcome&) {
            return 1;
        }
        return record.points.empty() ? 3 : 0;
    });
    if (status == lumtest::kCannotDropPrivileges)
        GTEST_SKIP() << "cannot run as an unprivileged user";
    EXPECT_EQ(status, 0);
}

TEST_F(FrameTest, NonMonotonicXAsksAndNoCancels) {
    row(1).byExtension = readerNotMonotonic;
    record.fileName = makeFile("probe.lmx");
    ui.answers.push_back(Answer::No);
    EXPECT_EQ(failure(2), "CancelOpenFile");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(ui.messages[0].caption, "Datenformat");
    EXPECT_EQ(ui.messages[0].text.rfind(record.fileName + "\n\nDie x-Werte der Datei", 0), 0u);

    SpectrumRecord again;
    again.fileName = record.fileName;
    ui.answers.push_back(Answer::Yes);
    EXPECT_EQ(ReadFileData(ui, again, 2), 2);
    EXPECT_EQ(again.points.size(), 3u);
}

TEST_F(FrameTest, ValueRules) {
    record.fileName = "/d/f.txt";
    ReadContext ctx{ui, record};
    PointCollector points(ctx);
    points.add(1, 5);
    points.add(1, 50);    // duplicate x: dropped, but its y widens the range and is valid
    points.add(2, 1e39);  // y out of range: takes the last valid y read
    points.add(3, std::numeric_limits<double>::quiet_NaN());
    points.add(4, -1e39);
    points.finish();
    ASSERT_EQ(record.points.size(), 4u);
    EXPECT_EQ(record.points[1], (TPointF{2, 50}));
    EXPECT_EQ(record.points[3], (TPointF{4, 50}));
    EXPECT_FLOAT_EQ(record.plotInfo.yMax, 50.0f);
    EXPECT_FLOAT_EQ(record.plotInfo.xMin, 1.0f);
    ASSERT_EQ(ui.messages.size(), 1u);  // the intensity message, once
    EXPECT_EQ(ui.messages[0].text,
              "/d/f.txt\n\nDie Datei enthält Intensitätswerte die den Gültigkeitsbereich "
              "(3.4x10^-38 bis 3.4x10^38) überschreiten. Diese Intensitätswerte werden auf den "
              "letzten gültigen Wert gesetzt!");
    EXPECT_EQ(ui.messages[0].icon, Icon::Stop);

    // An invalid first y becomes 0; x out of range or not a number cancels.
    SpectrumRecord other;
    ReadContext next{ui, other};
    PointCollector more(next);
    more.add(1, 1e39);
    EXPECT_EQ(other.points.at(0).y, 0.0f);
    more.add(2, 1);
    EXPECT_THROW(more.add(1e39, 1), Outcome);
    ASSERT_EQ(ui.messages.size(), 2u);  // the x message alone
    EXPECT_NE(ui.messages[1].text.find("x-Werte außerhalb des zulässigen"), std::string::npos);
    EXPECT_THROW(more.add(std::nan(""), 1), Outcome);
}

TEST(CheckXData, StrictMonotonyWithOneEqualPairTolerated) {
    const auto rows = lumtest::tableRows("check_x.tsv");
    EXPECT_EQ(rows.size(), 9u);
    for (const auto& r : rows) {
        SpectrumRecord record;
        for (const auto& x : lumtest::splitOn(r[0], ' '))
            if (x != "-") record.points.push_back({std::stof(x), 0});
        EXPECT_EQ(CheckXData(record), std::stoi(r[1])) << r[0];
    }
}

TEST(ShortenedPath, LongPathsKeepFirstFolderAndName) {
    EXPECT_EQ(shortenedPath("C:\\kurz\\datei.txt"), "C:\\kurz\\datei.txt");
    const std::string longPath =
        "C:\\Messungen\\Plasma\\2026\\Dezember\\Serie 12\\spektrum_0042.asc";
    EXPECT_EQ(shortenedPath(longPath), "C:\\...\\spektrum_0042.asc");
    EXPECT_EQ(shortenedPath("/home/anna/messungen/plasma/2026/dezember/serie/s1.txt"),
              "/.../s1.txt");
    // 45 characters exactly, with umlauts counted as one character each.
    const std::string umlauts = "/ääääääääää/" + std::string(33, 'x');
    EXPECT_EQ(shortenedPath(umlauts), umlauts);
}

namespace {
void readerAsYOnly(ReadContext& ctx) {
    ctx.formatCode = 3;
    readerRising(ctx);
}
}  // namespace

TEST_F(FrameTest, TellsWhichFormatWasRead) {
    // An extension entry serving two formats names the one it read; the filter index alone
    // is the same for both.
    row(2).byExtension = readerAsYOnly;
    record.fileName = makeFile("probe.txt");
    int code = 0;
    EXPECT_EQ(ReadFileData(ui, record, 3, code), 3);
    EXPECT_EQ(code, 3);

    // An entry that names nothing reports its own row; a dialog choice reports the choice.
    row(1).byExtension = readerRising;
    SpectrumRecord native;
    native.fileName = makeFile("probe.lmx");
    EXPECT_EQ(ReadFileData(ui, native, 3, code), 2);
    EXPECT_EQ(code, 1);

    row(5).byChoice = readerRising;
    SpectrumRecord chosen;
    chosen.fileName = makeFile("probe.xyz");
    ui.formatAnswers.push_back(5);
    EXPECT_EQ(ReadFileData(ui, chosen, 3, code), 4);
    EXPECT_EQ(code, 5);
    EXPECT_EQ(GetFormatList(), ui.formatCalls.at(0).entries);
}
