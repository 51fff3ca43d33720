// Text instrument readers (OOIBase32, OOI LIBS, AvaSoft ASCII, DaVis): synthetic files for
// the header, separator and column rules (the real files are read in samples_test.cpp).
#include <gtest/gtest.h>

#include <vector>

#include "InstrumentTestSupport.h"

using namespace lumtest;

namespace {

class TextInstrumentTest : public InstrumentFileTest {};

// ---- OOIBase32 --------------------------------------------------------------------------

TEST_F(TextInstrumentTest, OOIBaseReadsBetweenTheMarkers) {
    const std::string file =
        "OOIBase32 Version 2.0.6.5 Data File\r\n++++++++\r\nDate: 03-23-2011\r\n"
        ">>>>>Begin Spectral Data<<<<<\r\n400.10\t10.5\r\n400.30\t-2\t77\r\n"
        ">>>>>End Spectral Data<<<<<\r\n500\t1\r\n";
    auto out = read("probe.scope", file);
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_EQ(out.filterIndex, 8);
    expectPoints({{400.1f, 10.5f}, {400.3f, -2.0f}});  // a third column is not read
    EXPECT_FLOAT_EQ(record.plotInfo.yMin, -2.0f);
    EXPECT_TRUE(record.plotInfo.title.empty());
    EXPECT_TRUE(ui.messages.empty());

    // Decimal comma, and data up to the end when the end marker is missing.
    ASSERT_TRUE(read("probe.sample", "OOIBase32\n>>>>>Begin<<<<<\n400,5\t12,25\n401,5\t1\n").ok());
    expectPoints({{400.5f, 12.25f}, {401.5f, 1.0f}});

    // Without the program name the data start at the first line; a blank separates here.
    ASSERT_TRUE(read("probe.Reference", "400 3\n401 4\n").ok());
    expectPoints({{400, 3}, {401, 4}});
}

TEST_F(TextInstrumentTest, OOIBaseRefusals) {
    // Letters among the first data lines: not this format, so the format dialog follows.
    EXPECT_EQ(read("a.Dark", "OOIBase32\n>>>>>Begin<<<<<\n400\t1\n401\tx1\n").keyword,
              "CancelOpenFile");
    EXPECT_EQ(ui.formatCalls.size(), 1u);
    EXPECT_EQ(readFresh("a.dat", "OOIBase32\n>>>>>Begin<<<<<\n400\t1\n401\tx1\n", 9).keyword,
              "UnknownFormat");
    // A data line without any separator.
    EXPECT_EQ(readFresh("a.dat", "400\n401\n", 9).keyword, "UnknownFormat");
    // No data: an empty file, a header without its marker, markers without lines between.
    EXPECT_EQ(readFresh("a.scope", "").keyword, "NullFile");
    EXPECT_EQ(read("a.scope", "OOIBase32 Version\nDate\n").keyword, "NullFile");
    EXPECT_EQ(read("a.scope", "OOIBase32\n>>>>>Begin<<<<<\n>>>>>End<<<<<\n").keyword, "NullFile");
    EXPECT_TRUE(ui.formatCalls.empty());
}

// ---- OOI LIBS ---------------------------------------------------------------------------

TEST_F(TextInstrumentTest, OOILibsHeaderEndsAtTheColumnHeaderLine) {
    auto out = read("probe.ols",
                    "OOI LIBS Data File\nSpectrometer: LIBS2500\nWavelength calibration done\n"
                    "Pixel\tCounts\n1\t100\n2\t110\n3\t95\n");
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_EQ(out.filterIndex, 9);
    expectPoints({{1, 100}, {2, 110}, {3, 95}});

    ASSERT_TRUE(read("probe.olb", "OOI LIBS\nWavelength;Counts\n200,25;7\n200,50;8\n").ok());
    expectPoints({{200.25f, 7}, {200.5f, 8}});

    // Without the program name the data start at the first line.
    ASSERT_TRUE(read("probe.olb", "200.1,7\n200.2,8\n").ok());
    expectPoints({{200.1f, 7}, {200.2f, 8}});

    // The program name but no column header line: no data.
    EXPECT_EQ(read("probe.ols", "OOI LIBS\nWavelength only\n1\t2\n").keyword, "NullFile");
}

// ---- AvaSoft ----------------------------------------------------------------------------

const char kSixColumnsText[] =
    "0804016U1- \r\nIntegration time: 100.00 ms\r\nAverage: 20 scans\r\n"
    "Data measured with spectrometer name: 0804016U1\0\0\0\r\n"
    "Wave   ;Dark     ;Ref      ;Sample   ;Absorbance;Photons\r\n"
    "[nm]   ;[counts] ;[counts] ;[counts] ;[A]      ;[#]\r\n"
    "300.00;1.5;2.5;3.5;4.5;5.5\r\n301.00;1.6;2.6;3.6;4.6;5.6\r\n";
// With the NUL bytes that pad AvaSoft's spectrometer line.
const std::string kSixColumns(kSixColumnsText, sizeof kSixColumnsText - 1);

TEST_F(TextInstrumentTest, AvaSoftColumnChoiceByName) {
    // Six columns in a .tat file: five names, the processed one first.
    ui.columnAnswers.push_back(2);
    auto out = read("messung.tat", kSixColumns);
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_EQ(out.filterIndex, 12);
    ASSERT_EQ(ui.columnCalls.size(), 1u);
    EXPECT_EQ(ui.columnCalls[0].names, (std::vector<std::string>{"Dark", "Reference", "Sample",
                                                                 "Absorbance", "Photon number"}));
    EXPECT_EQ(ui.columnCalls[0].initialIndex, 3);
    EXPECT_EQ(record.fileName, path + " #Sample");
    expectPoints({{300, 3.5f}, {301, 3.6f}});

    // The choice made last is offered again; the last entry reads the sixth column.
    ui = ScriptedUi{};
    ui.columnAnswers.push_back(4);
    ASSERT_TRUE(read("messung.tat", kSixColumns).ok());
    EXPECT_EQ(ui.columnCalls[0].initialIndex, 2);
    EXPECT_EQ(record.fileName, path + " #Photon number");
    expectPoints({{300, 5.5f}, {301, 5.6f}});

    // The processed column is named after the extension; five columns have no photons.
    struct Ext {
        const char* name;
        const char* processed;
    } exts[] = {{"m.ttt", "Transmission"}, {"m.TIT", "Irradiance"}, {"m.trt", "Data"}};
    for (const auto& e : exts) {
        ui = ScriptedUi{};
        ui.columnAnswers.push_back(3);
        ASSERT_TRUE(read(e.name, "Wave;Dark;Ref;Sample;P\n300;1;2;3;4\n301;1;2;3;5\n").ok());
        ASSERT_EQ(ui.columnCalls.size(), 1u);
        EXPECT_EQ(ui.columnCalls[0].names,
                  (std::vector<std::string>{"Dark", "Reference", "Sample", e.processed}));
        EXPECT_EQ(record.fileName, path + " #" + e.processed);
        EXPECT_FLOAT_EQ(record.points[1].y, 5.0f);
    }

    // Three columns offer only the two that exist, the last preselected when the processed
    // one is missing; cancelling cancels.
    EXPECT_EQ(readFresh("m.ttt", "Wave;Dark;Ref\n300;1;2\n").keyword, "CancelOpenFile");
    ASSERT_EQ(ui.columnCalls.size(), 1u);
    EXPECT_EQ(ui.columnCalls[0].names, (std::vector<std::string>{"Dark", "Reference"}));
    EXPECT_EQ(ui.columnCalls[0].initialIndex, 1);
}

TEST_F(TextInstrumentTest, AvaSoftHeaderSeparatorsAndDecimalComma) {
    // Two columns: no dialog. The serial-number line that begins with a digit is header.
    ASSERT_TRUE(read("m.ttt",
                     "1305084U1- I C\r\nWave   ;Sample\r\n[nm]   ;[counts]\r\n"
                     "275.27;805.00\r\n275.87;816.34\r\n")
                    .ok());
    EXPECT_TRUE(ui.columnCalls.empty());
    expectPoints({{275.27f, 805}, {275.87f, 816.34f}});

    // Decimal comma with ";" and space-padded columns; a short row keeps the last valid y.
    ui = ScriptedUi{};
    ASSERT_TRUE(read("m.trt",
                     "\nIntegration time [ms]:   48,06\n[nm];[counts]\n\n"
                     " 176,60;   18,600\n 177,21;   15,600\n 177,81\n")
                    .ok());
    expectPoints({{176.6f, 18.6f}, {177.21f, 15.6f}, {177.81f, 15.6f}});
    ASSERT_EQ(ui.messages.size(), 1u);  // the intensity message
    EXPECT_NE(ui.messages[0].text.find("Intensitätswerte"), std::string::npos);

    // Tabs and blanks separate too; text behind the data ends them.
    ui = ScriptedUi{};
    std::string tail = "Wave\tS\n";
    for (int i = 0; i < 10; ++i) tail += std::to_string(300 + i) + "\t1\n";
    ASSERT_TRUE(read("m.trt", tail + "End of data\n400\t3\n").ok());
    EXPECT_EQ(record.points.size(), 10u);
    EXPECT_FLOAT_EQ(record.points.back().x, 309.0f);
    ASSERT_TRUE(read("m.trt", "Wave S\n300   1\n301   2\n").ok());
    expectPoints({{300, 1}, {301, 2}});

    // A letter among the data lines; no data line at all.
    EXPECT_EQ(readFresh("m.dat", "Wave;S\n300;1\n301;1x\n", 14).keyword, "UnknownFormat");
    EXPECT_EQ(readFresh("m.trt", "Wave;S\n[nm];[counts]\n").keyword, "NullFile");
}

// ---- DaVis ------------------------------------------------------------------------------

TEST_F(TextInstrumentTest, DaVisProfiles) {
    auto out = read("profil.prf", "#DaVis 7.2 profile\n# x\ty\n400,5\t12,25\n401\t13\n");
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_EQ(out.filterIndex, 7);
    expectPoints({{400.5f, 12.25f}, {401, 13}});
    EXPECT_TRUE(record.plotInfo.title.empty());

    // Only "#DaV": not a DaVis file, neither by extension nor chosen in the dialog.
    EXPECT_EQ(read("profil.prf", "#DaV\n1\t2\n").keyword, "CancelOpenFile");
    EXPECT_EQ(ui.formatCalls.size(), 1u);
    EXPECT_EQ(readFresh("profil.dat", "#DaV\n1\t2\n", 8).keyword, "UnknownFormat");
    EXPECT_EQ(readFresh("profil.prf", "").keyword, "NullFile");
    EXPECT_EQ(read("profil.prf", "#DaVis\n# nothing else\n").keyword, "NullFile");
}

}  // namespace
