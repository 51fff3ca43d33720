// Binary spectra: the choice between x,y and y by the order of the values, the marker and
// its text trailer, and short or ragged files.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "IoTestFiles.h"

using lumtest::floatBytes;
using lumtest::readSpectrum;
using lumtest::ScriptedUi;

namespace {

class BinaryFile : public ::testing::Test {
  protected:
    lumtest::TempFolder dir{"binary"};
    ScriptedUi ui;
    SpectrumRecord record;

    lumtest::ReadOutcome open(const std::string& bytes, const std::string& name = "s.bin") {
        return readSpectrum(ui, record, dir.write(name, bytes));
    }
};

TEST_F(BinaryFile, FallingXWithVaryingYIsReadAsPairs) {
    const auto r = open(floatBytes({503, 10, 502, 30, 501, 20, 500, 25}));
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(r.filterIndex, 4);
    ASSERT_EQ(record.points.size(), 4u);
    EXPECT_EQ(record.points[0], (TPointF{503.0f, 10.0f}));
    EXPECT_EQ(record.points[3], (TPointF{500.0f, 25.0f}));
    EXPECT_EQ(record.plotInfo.xMin, 500.0f);
    EXPECT_EQ(record.plotInfo.xMax, 503.0f);
    EXPECT_EQ(record.plotInfo.yMin, 10.0f);
    EXPECT_EQ(record.plotInfo.yMax, 30.0f);
    EXPECT_TRUE(record.plotInfo.title.empty());
}

TEST_F(BinaryFile, ValuesThatGoUpAndDownInBothPlacesAreYValues) {
    // Pairs (5, 1), (3, 9), (4, 2): the first values fall and rise.
    const auto r = open(floatBytes({5, 1, 3, 9, 4, 2}));
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(record.points.size(), 6u);
    EXPECT_EQ(record.points[0], (TPointF{1.0f, 5.0f}));
    EXPECT_EQ(record.points[5], (TPointF{6.0f, 2.0f}));
    EXPECT_EQ(record.plotInfo.xMin, 1.0f);
    EXPECT_EQ(record.plotInfo.xMax, 6.0f);
}

TEST_F(BinaryFile, BothSequencesMonotonicAsksForTheFormat) {
    ui.formatAnswers = {5};
    const auto r = open(floatBytes({1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(ui.formatCalls.size(), 1u);
    EXPECT_EQ(record.points.size(), 6u);
    EXPECT_EQ(record.points[5], (TPointF{6.0f, 6.0f}));
}

TEST_F(BinaryFile, MarkerAndTrailerGiveTheTitle) {
    ui.formatAnswers = {5};
    auto r = open(floatBytes({12, 15, 11, 1e9f}) + "Probe A 12");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(record.points.size(), 3u);
    EXPECT_EQ(record.plotInfo.title, "Probe A 12");

    // Words are separated by any white space and joined with one blank; a word longer
    // than 25 characters is cut into pieces; Windows-1252 becomes UTF-8.
    record = SpectrumRecord{};
    r = open(floatBytes({1, 5, 2, 7, 3, 6, 1e9f}) + "\r\n  Messung\t\xC4rger\n" +
                 std::string(30, 'a') + "  ",
             "t.bin");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(record.points.size(), 3u);
    EXPECT_EQ(record.plotInfo.title, "Messung Ärger " + std::string(25, 'a') + " aaaaa");
}

TEST_F(BinaryFile, PairsEndingAfterAnXTakeTheLastY) {
    ui.formatAnswers = {4};
    const auto r = open(floatBytes({1, 5, 2, 7, 3}), "p.dat");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_EQ(record.points[2], (TPointF{3.0f, 7.0f}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("Intensitätswerte"), std::string::npos);
}

TEST_F(BinaryFile, NotANumberAsYTakesTheLastY) {
    ui.formatAnswers = {5};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto r = open(floatBytes({4, nan, 6, -1e30f}), "y.dat");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(record.points.size(), 4u);
    EXPECT_EQ(record.points[1].y, 4.0f);
    EXPECT_EQ(record.points[3].y, -1e30f);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(BinaryFile, ShortAndRaggedFiles) {
    EXPECT_EQ(open("").keyword, "NullFile");
    EXPECT_EQ(open("abc").keyword, "NullFile");
    // Bytes that do not fill a last float are left alone.
    ui.formatAnswers = {5};
    const auto r = open(floatBytes({3, 1, 2}) + "xy", "odd.dat");
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(record.points.size(), 3u);
    // A marker before any value leaves no data.
    record = SpectrumRecord{};
    ui.formatAnswers = {5};
    EXPECT_EQ(open(floatBytes({2e9f, 1, 2}), "m.dat").keyword, "NullFile");
}

TEST_F(BinaryFile, XOutOfRangeOrNotANumberStopsReading) {
    ui.formatAnswers = {4};
    const auto r = open(floatBytes({1, 2, std::numeric_limits<float>::quiet_NaN(), 3}), "x.dat");
    EXPECT_EQ(r.keyword, "CancelOpenFile");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("x-Werte"), std::string::npos);
}

}  // namespace
