// ASCII spectra: header lines, separators and decimal commas, the three x,y layouts with
// their track choices, y-only files and the character check.
#include <gtest/gtest.h>

#include "ChoiceMemory.h"
#include "IoTestFiles.h"

using lumtest::readSpectrum;
using lumtest::ScriptedUi;

namespace {

const std::string kData = std::string(LUMORA_TEST_DATA) + "/lumio/data/";

class AsciiFile : public ::testing::Test {
  protected:
    lumtest::TempFolder dir{"ascii"};
    ScriptedUi ui;
    SpectrumRecord record;

    void SetUp() override {
        lumio::detail::lastChosenTrack() = 0;
        lumio::detail::lastChosenFrameStrip() = {0, 0};
    }
    lumtest::ReadOutcome open(const std::string& content, const std::string& name = "s.txt") {
        return readSpectrum(ui, record, dir.write(name, content));
    }
    lumtest::ReadOutcome openFixture(const std::string& name) {
        return readSpectrum(ui, record, kData + name);
    }
};

TEST_F(AsciiFile, QuotedHeaderSkippedAndSemicolonColumns) {
    const auto r = openFixture("ascii_quoted_header_semicolon.txt");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(r.filterIndex, 3);
    ASSERT_EQ(record.points.size(), 2u);
    EXPECT_EQ(record.points[0], (TPointF{400.1f, 1200.0f}));
    EXPECT_EQ(record.points[1], (TPointF{400.2f, 1250.0f}));
    EXPECT_TRUE(ui.trackCalls.empty());
    EXPECT_TRUE(record.plotInfo.title.empty());
}

TEST_F(AsciiFile, DecimalCommaWithBlankSeparator) {
    const auto r = openFixture("ascii_decimal_comma_blank_separator.txt");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(record.points.size(), 2u);
    EXPECT_EQ(record.points[0], (TPointF{400.5f, 1200.7f}));
    EXPECT_EQ(record.points[1], (TPointF{401.5f, 1180.25f}));
}

TEST_F(AsciiFile, CommaAloneSeparatesAndThreeFieldsOfferTwoTracks) {
    ui.trackAnswers = {1};
    const std::string path = dir.write("c.txt", "400,5,1200\n401,6,1300\n");
    const auto r = readSpectrum(ui, record, path);
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(ui.trackCalls.size(), 1u);
    EXPECT_EQ(ui.trackCalls[0].count, 2);
    EXPECT_EQ(ui.trackCalls[0].initial, 1);
    EXPECT_EQ(record.points[0], (TPointF{400.0f, 5.0f}));
    EXPECT_EQ(record.points[1], (TPointF{401.0f, 6.0f}));
    EXPECT_EQ(record.fileName, path + " #1");
}

TEST_F(AsciiFile, ThousandsDotsAndDecimalComma) {
    const auto r = open("1.234,5;2\n1.300,25;3\n");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(record.points[0], (TPointF{1234.5f, 2.0f}));
    EXPECT_EQ(record.points[1], (TPointF{1300.25f, 3.0f}));
}

TEST_F(AsciiFile, PlainTextHeadersWithoutQuote) {
    auto r = openFixture("ascii_plain_text_header_cp1252.txt");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(record.points.size(), 2u);
    EXPECT_EQ(record.points[0], (TPointF{400.5f, 1200.0f}));

    record = SpectrumRecord{};
    r = openFixture("ascii_plain_text_header_tab.txt");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(record.points.size(), 2u);
    EXPECT_EQ(record.points[0], (TPointF{500.25f, 17.0f}));
    EXPECT_EQ(record.points[1], (TPointF{500.5f, 18.0f}));
}

TEST_F(AsciiFile, LetterInsideTheFirstTenDataLinesIsUnknownFormat) {
    // After the header the check runs as before; the format dialog follows, and the
    // scripted user cancels it.
    auto r = open("Wavelength Counts\n400 1\n401 2x\n");
    EXPECT_EQ(r.keyword, "CancelOpenFile");
    EXPECT_EQ(ui.formatCalls.size(), 1u);

    // Only ten lines are checked: a letter in the eleventh data line is read like atof.
    std::string content;
    for (int i = 1; i <= 10; ++i)
        content += std::to_string(400 + i) + " " + std::to_string(i) + "\n";
    content += "411 5q\n";
    ui.formatCalls.clear();
    record = SpectrumRecord{};
    r = open(content);
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_TRUE(ui.formatCalls.empty());
    ASSERT_EQ(record.points.size(), 11u);
    EXPECT_EQ(record.points[10], (TPointF{411.0f, 5.0f}));
}

TEST_F(AsciiFile, YOnlyFile) {
    const auto r = open("12\n15\n  11\n\n");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(r.filterIndex, 3);
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_EQ(record.points[0], (TPointF{1.0f, 12.0f}));
    EXPECT_EQ(record.points[1], (TPointF{2.0f, 15.0f}));
    EXPECT_EQ(record.points[2], (TPointF{3.0f, 11.0f}));
    EXPECT_EQ(record.plotInfo.xMin, 1.0f);
    EXPECT_EQ(record.plotInfo.xMax, 3.0f);
    EXPECT_EQ(record.plotInfo.yMin, 11.0f);
    EXPECT_EQ(record.plotInfo.yMax, 15.0f);
}

TEST_F(AsciiFile, YOnlyDotsAndTrailingBlanks) {
    // All "." but the last go; a trailing blank separates nothing and keeps the file y-only.
    const auto r = open("1.234.5 \n2,5\n");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(record.points.size(), 2u);
    EXPECT_EQ(record.points[0].y, 1234.5f);
    EXPECT_EQ(record.points[1].y, 2.5f);
}

TEST_F(AsciiFile, YReaderChosenForAColumnFileRefusesIt) {
    ui.formatAnswers = {3};
    const auto r = open("1 2\n3 4\n", "s.dat");
    EXPECT_EQ(r.keyword, "UnknownFormat");
}

TEST_F(AsciiFile, UnknownExtensionAndChoiceOfYValues) {
    ui.formatAnswers = {3};
    const auto r = open("12\n15\n11\n", "probe.xyz");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(r.filterIndex, 3);
    EXPECT_EQ(record.points.size(), 3u);
}

TEST_F(AsciiFile, TrackChoiceNamesTheSpectrumAndIsRemembered) {
    ui.trackAnswers = {2};
    auto r = openFixture("ascii_four_columns.txt");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(ui.trackCalls.size(), 1u);
    EXPECT_EQ(ui.trackCalls[0].count, 3);
    EXPECT_EQ(record.fileName, kData + "ascii_four_columns.txt #2");
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_EQ(record.points[0], (TPointF{400.0f, 2.0f}));
    EXPECT_EQ(record.points[2], (TPointF{402.0f, 8.0f}));

    // The next dialog starts with track 2 again; a file with too few tracks starts at 1.
    ui.trackAnswers = {3};
    record = SpectrumRecord{};
    r = openFixture("ascii_four_columns.txt");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(ui.trackCalls[1].initial, 2);
    EXPECT_EQ(record.points[0].y, 3.0f);
    ui.trackAnswers = {1};
    record = SpectrumRecord{};
    r = open("1 2 3\n2 3 4\n");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(ui.trackCalls[2].count, 2);
    EXPECT_EQ(ui.trackCalls[2].initial, 1);
}

TEST_F(AsciiFile, CancelledTrackChoice) {
    const auto r = openFixture("ascii_four_columns.txt");
    EXPECT_EQ(r.keyword, "CancelOpenFile");
}

TEST_F(AsciiFile, CountedTracks) {
    // "0 0 0 2": four fields, the last is 4 - 2 = 2, so three tracks follow.
    ui.trackAnswers = {3};
    auto r = open("0 0 0 2\n400 1 2 3\n401 4 5 6\n");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(ui.trackCalls.size(), 1u);
    EXPECT_EQ(ui.trackCalls[0].count, 3);
    ASSERT_EQ(record.points.size(), 2u);
    EXPECT_EQ(record.points[0], (TPointF{400.0f, 3.0f}));
    EXPECT_EQ(record.points[1], (TPointF{401.0f, 6.0f}));

    // "0 0": one track, no dialog, the data begin on the next line.
    record = SpectrumRecord{};
    r = open("0 0\n400 7\n401 8\n");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(ui.trackCalls.size(), 1u);
    ASSERT_EQ(record.points.size(), 2u);
    EXPECT_EQ(record.points[0], (TPointF{400.0f, 7.0f}));
}

TEST_F(AsciiFile, FramesAndStrips) {
    ui.frameStripAnswers = {lumio::Ui::FrameStrip{1, 2}};
    const auto r = openFixture("ascii_frames_two_strips.txt");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(ui.frameStripCalls.size(), 1u);
    EXPECT_EQ(ui.frameStripCalls[0].frames, 1);
    EXPECT_EQ(ui.frameStripCalls[0].strips, 2);
    EXPECT_EQ(record.fileName, kData + "ascii_frames_two_strips.txt #1,2");
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_EQ(record.points[0], (TPointF{400.0f, 7.0f}));
    EXPECT_EQ(record.points[2], (TPointF{402.0f, 9.0f}));
}

TEST_F(AsciiFile, LaterFrameIsFoundBehindTheFirst) {
    // Frame 2 lies behind all rows of frame 1; choosing it must read its rows, not stop
    // at the first row of frame 1.
    ui.frameStripAnswers = {lumio::Ui::FrameStrip{2, 1}};
    const auto r = open("400 1.00 5\n401 1.00 6\n400 1 2 7\n401 1 2 8\n");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(ui.frameStripCalls.size(), 1u);
    EXPECT_EQ(ui.frameStripCalls[0].frames, 2);
    EXPECT_EQ(ui.frameStripCalls[0].strips, 1);
    ASSERT_EQ(record.points.size(), 2u);
    EXPECT_EQ(record.points[0], (TPointF{400.0f, 7.0f}));
    EXPECT_EQ(record.points[1], (TPointF{401.0f, 8.0f}));
}

TEST_F(AsciiFile, SingleFrameNeedsNoDialogAndRowsNeedAStrip) {
    auto r = open("400 1.00 5\n401 1.00 6\n");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_TRUE(ui.frameStripCalls.empty());
    EXPECT_EQ(record.points.size(), 2u);

    record = SpectrumRecord{};
    ui.formatCalls.clear();
    r = open("400 1.00 5\n401 6\n");
    EXPECT_EQ(r.keyword, "CancelOpenFile");  // UnknownFormat, then the cancelled dialog
    EXPECT_EQ(ui.formatCalls.size(), 1u);
}

TEST_F(AsciiFile, ValueRules) {
    auto r = open("400 5\n401 1e39\n402 7\n");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(record.points[1].y, 5.0f);
    EXPECT_EQ(ui.messages.size(), 1u);

    ui.messages.clear();
    record = SpectrumRecord{};
    r = open("400 5\n1e39 6\n");
    EXPECT_EQ(r.keyword, "CancelOpenFile");
    EXPECT_EQ(ui.messages.size(), 1u);

    record = SpectrumRecord{};
    r = open("400 5\n400 6\n401 7\n");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(record.points.size(), 2u);
}

TEST_F(AsciiFile, EmptyFilesAndHeaderOnly) {
    EXPECT_EQ(open("").keyword, "NullFile");
    EXPECT_EQ(open(" \n\n\t\n").keyword, "NullFile");
    EXPECT_EQ(open("'nur Kopf\nTitel\n").keyword, "NullFile");
}

}  // namespace
