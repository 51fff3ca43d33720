// The native spectrum file (.lmx): reading its sections and markers (the cases in
// tests/lumio/data/native.cases), its line entries, writing it, and reading back what was written.
#include <gtest/gtest.h>

#include "ReadCases.h"

using lumtest::readSpectrum;
using lumtest::ScriptedUi;

namespace {

class NativeFile : public ::testing::Test {
  protected:
    lumtest::TempFolder dir{"native"};
    ScriptedUi ui;
    SpectrumRecord record;
};

TEST_F(NativeFile, ReadsAsTheCasesSay) {
    lumtest::runReadCases("native.cases", 16);
}

TEST_F(NativeFile, EntriesOfOneLineAndLinesWithoutEntries) {
    const auto r =
        readSpectrum(ui, record, std::string(LUMORA_TEST_DATA) + "/lumio/data/native_entries.lmx");
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(record.spectrumLines.size(), 2u);
    const CLine& al = record.spectrumLines[0];
    EXPECT_EQ(al.x, 396.15f);
    EXPECT_EQ(al.y, 800.0f);
    ASSERT_EQ(al.candidateLabels.size(), 3u);
    EXPECT_EQ(al.candidateLabels[0], "Al I;0.5");
    EXPECT_EQ(al.candidateLabels[2], "Fe I;0.75");
    EXPECT_EQ(al.candidateColors[0], 255u);
    EXPECT_EQ(al.candidateColors[1], 255u * 256u);
    EXPECT_EQ(al.candidateColors[2], 1u + 2u * 256u + 3u * 65536u);
    EXPECT_EQ(al.candidateRecords[0], "3s2 4s");
    EXPECT_EQ(al.candidateRecords[2], "rest;with;semicolons");
    ASSERT_EQ(al.speciesLabels.size(), 1u);
    EXPECT_EQ(al.speciesLabels[0], "Al I *;0.5");
    const CLine& bare = record.spectrumLines[1];
    EXPECT_TRUE(bare.x == 410.5f && bare.y == 90.0f && bare.candidateLabels.empty() &&
                bare.speciesLabels.empty());

    ASSERT_EQ(record.databaseLines.size(), 1u);
    const CSearchEngineLine& db = record.databaseLines[0];
    EXPECT_EQ(db.wavelength, 404.58f);
    EXPECT_EQ(db.label, "Fe I ;21.5");
    EXPECT_EQ(db.value, 21.5f);
    EXPECT_EQ(db.color, 10u + 20u * 256u + 30u * 65536u);
    EXPECT_EQ(db.record, "a b c");
    EXPECT_EQ(record.points.size(), 2u);
}

// Written byte for byte as tests/lumio/data/native_written.lmx says, then read back: positions
// exactly, texts through Windows-1252 ("–" and "Ä" are in it, "α" becomes "?"), species entries
// only for lines with candidates, data lines with x rising.
TEST_F(NativeFile, WrittenLayoutAndReadBack) {
    SpectrumRecord saved;
    saved.fileName = dir.path("out.lmx");
    CLine line(453.88123f, 812.5f);
    line.candidateLabels = {"Al I;0.5", "Ca II;0.25"};
    line.candidateColors = {MakeColor(255, 0, 0), MakeColor(0, 128, 7)};
    line.candidateRecords = {"3d6 4s2 – 3d6 4s4p", "Übergang"};
    line.speciesLabels = {"Al I;0.5"};
    line.speciesColors = {MakeColor(255, 0, 0)};
    line.speciesRecords = {"r1"};
    CLine bare(500.0001f, 90.0f);
    bare.speciesLabels = {"never written"};
    saved.spectrumLines.add(line);
    saved.spectrumLines.add(bare);
    CSearchEngineLine db;
    db.wavelength = 656.2801f;
    db.label = "H I ;1.5e+04";
    db.color = MakeColor(1, 2, 3);
    db.record = "Ä α";
    saved.databaseLines.add(db);
    saved.points = {{656.2801f, 3.0f}, {453.88126f, 2.0f}, {453.88123f, 1.0f}};
    ASSERT_EQ(WriteFileData(ui, saved, 1), lumio::WriteResult::Done);
    EXPECT_EQ(lumtest::readBytes(saved.fileName),
              lumtest::readBytes(std::string(LUMORA_TEST_DATA) + "/lumio/data/native_written.lmx"));
    EXPECT_TRUE(ui.messages.empty());

    const auto r = readSpectrum(ui, record, saved.fileName);
    ASSERT_TRUE(r.ok()) << r.keyword;
    EXPECT_EQ(record.points, TPointList(saved.points.rbegin(), saved.points.rend()));
    ASSERT_EQ(record.spectrumLines.size(), 2u);
    const CLine& back = record.spectrumLines[0];
    EXPECT_EQ(back.x, line.x);
    EXPECT_EQ(back.candidateLabels, line.candidateLabels);
    EXPECT_EQ(back.candidateColors, line.candidateColors);
    EXPECT_EQ(back.candidateRecords, line.candidateRecords);
    EXPECT_EQ(back.speciesLabels, line.speciesLabels);
    EXPECT_EQ(back.speciesRecords, line.speciesRecords);
    EXPECT_EQ(record.spectrumLines[1].x, bare.x);
    EXPECT_TRUE(record.spectrumLines[1].speciesLabels.empty());
    ASSERT_EQ(record.databaseLines.size(), 1u);
    EXPECT_EQ(record.databaseLines[0].wavelength, db.wavelength);
    EXPECT_EQ(record.databaseLines[0].label, db.label);
    EXPECT_EQ(record.databaseLines[0].value, 15000.0f);
    EXPECT_EQ(record.databaseLines[0].color, db.color);
    EXPECT_EQ(record.databaseLines[0].record, "Ä ?");

    // Without lines the blocks are left out; the extension is added.
    record = SpectrumRecord{};
    record.fileName = dir.path("plain");
    record.points = {{1.0f, 2.0f}};
    ASSERT_EQ(WriteFileData(ui, record, 1), lumio::WriteResult::Done);
    EXPECT_EQ(lumtest::readBytes(dir.path("plain.lmx")),
              "[Header->]\n[<-Header]\n\n[Data->]\n1 2\n[<-Data]\n");
}

}  // namespace
