// Text instrument readers (OOIBase32, OOI LIBS, AvaSoft ASCII, DaVis): synthetic files for
// the header, separator and column rules, and the real files of the sample folder.
#include <gtest/gtest.h>

#include <vector>

#include "InstrumentTestSupport.h"

using namespace lumtest;

namespace {

class TextInstrumentTest : public InstrumentFileTest {
protected:
    void expectPoints(const std::vector<std::pair<float, float>>& expected) {
        ASSERT_EQ(record.points.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_FLOAT_EQ(record.points[i].x, expected[i].first) << i;
            EXPECT_FLOAT_EQ(record.points[i].y, expected[i].second) << i;
        }
    }
};

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
    ui = ScriptedUi{};
    ui.formatAnswers.push_back(9);
    EXPECT_EQ(read("a.dat", "OOIBase32\n>>>>>Begin<<<<<\n400\t1\n401\tx1\n").keyword, "UnknownFormat");
    // A data line without any separator.
    ui = ScriptedUi{};
    ui.formatAnswers.push_back(9);
    EXPECT_EQ(read("a.dat", "400\n401\n").keyword, "UnknownFormat");
    // No data: an empty file, a header without its marker, markers without lines between.
    ui = ScriptedUi{};
    EXPECT_EQ(read("a.scope", "").keyword, "NullFile");
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
    EXPECT_EQ(ui.columnCalls[0].names,
              (std::vector<std::string>{"Dark", "Reference", "Sample", "Absorbance", "Photon number"}));
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
    ui = ScriptedUi{};
    EXPECT_EQ(read("m.ttt", "Wave;Dark;Ref\n300;1;2\n").keyword, "CancelOpenFile");
    ASSERT_EQ(ui.columnCalls.size(), 1u);
    EXPECT_EQ(ui.columnCalls[0].names, (std::vector<std::string>{"Dark", "Reference"}));
    EXPECT_EQ(ui.columnCalls[0].initialIndex, 1);
}

TEST_F(TextInstrumentTest, AvaSoftHeaderSeparatorsAndDecimalComma) {
    // Two columns: no dialog. The serial-number line that begins with a digit is header.
    ASSERT_TRUE(read("m.ttt", "1305084U1- I C\r\nWave   ;Sample\r\n[nm]   ;[counts]\r\n"
                              "275.27;805.00\r\n275.87;816.34\r\n")
                    .ok());
    EXPECT_TRUE(ui.columnCalls.empty());
    expectPoints({{275.27f, 805}, {275.87f, 816.34f}});

    // Decimal comma with ";" and space-padded columns; a short row keeps the last valid y.
    ui = ScriptedUi{};
    ASSERT_TRUE(read("m.trt", "\nIntegration time [ms]:   48,06\n[nm];[counts]\n\n"
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
    ui = ScriptedUi{};
    ui.formatAnswers.push_back(14);
    EXPECT_EQ(read("m.dat", "Wave;S\n300;1\n301;1x\n").keyword, "UnknownFormat");
    ui = ScriptedUi{};
    EXPECT_EQ(read("m.trt", "Wave;S\n[nm];[counts]\n").keyword, "NullFile");
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
    ui = ScriptedUi{};
    ui.formatAnswers.push_back(8);
    EXPECT_EQ(read("profil.dat", "#DaV\n1\t2\n").keyword, "UnknownFormat");
    ui = ScriptedUi{};
    EXPECT_EQ(read("profil.prf", "").keyword, "NullFile");
    EXPECT_EQ(read("profil.prf", "#DaVis\n# nothing else\n").keyword, "NullFile");
}

// ---- Real files -------------------------------------------------------------------------

struct TextSample {
    const char* file;  // below the sample folder
    int format;        // format code chosen in the dialog, 0: by extension
    int column;        // entry of the column dialog, -1: no dialog
    std::size_t n;
    double firstX, firstY, lastX, lastY, yMin, yMax;
};

// Expected values from the sample manifest (rows, first and last row, column minimum and
// maximum of the column read).
const TextSample kTextSamples[] = {
    {"ooibase32/tsunami.scope", 0, -1, 2048, 339.95, 0, 1013.55, 172.6, 0, 656.6},
    {"ooibase32/FMNH6834.00000001.Master.Transmission", 9, -1, 3648, 178.53, 95.38, 889.03,
     25.753, -417.232, 5002.289},
    {"avasoft/avantes_export.ttt", 0, -1, 401, 300, 3.1487, 700, 31.4912, 3.0782, 31.4912},
    {"avasoft/avantes_export2.trt", 0, -1, 1442, 275.27, 805, 1100.13, 774.3, 756.11, 23121},
    {"avasoft/avantes_export_long.ttt", 0, 3, 1442, 275.27, 23.333, 1100.13, 75.393, 4.9327, 75.393},
    {"avasoft/avantes_export_long.ttt", 0, 1, 1442, 275.27, 885.6, 1100.13, 809, 796.97, 57034},
    {"avasoft/J_MUR_MARS_17_0001.ttt", 0, 3, 1453, 299.87, 1.8921, 700, 12.41, 1.8921, 13.271},
    {"avasoft/avasoft8.txt", 14, 3, 401, 300, 252.16336, 700, 96.33834, 0, 357.86928},
    {"avasoft/GBFR.TXT", 14, 4, 2048, 176.6, 0, 1331.08, 0, -0.46197, 4.90392},
    {"avasoft/GBFR.TXT", 14, 3, 2048, 176.6, 0, 1331.08, 0, -5.1331, 83.23113},
    {"avasoft/testi1 220915_1412115U1.TXT", 14, 3, 225, 180, 0, 1300, 0, -9.93153, 10.50321},
    {"avasoft/chamber_leds_290515_I_topedro.csv", 14, -1, 1604, 172.485, 9.27919e-09, 1100.222,
     4.135461382, -1.660858912, 44.55876813},
};

TEST(TextInstrumentSamples, EveryRealFileMatchesTheManifest) {
    LUMTEST_REQUIRE_SAMPLES(dir);
    for (const auto& s : kTextSamples) {
        SCOPED_TRACE(std::string(s.file) + " column " + std::to_string(s.column));
        ScriptedUi ui;
        SpectrumRecord record;
        record.fileName = (dir / s.file).string();
        // A file whose extension belongs to another reader is copied under a neutral name,
        // so that the format dialog comes up at once.
        TempFolder folder;
        if (s.format) {
            record.fileName = (folder.path() / "probe.dat").string();
            fs::copy_file(dir / s.file, record.fileName);
            ui.formatAnswers.push_back(s.format);
        }
        if (s.column >= 0) ui.columnAnswers.push_back(s.column);
        const auto out = readSpectrum(ui, record);
        ASSERT_TRUE(out.ok()) << out.keyword;
        EXPECT_EQ(ui.formatCalls.size(), s.format ? 1u : 0u);
        EXPECT_EQ(ui.columnCalls.size(), s.column >= 0 ? 1u : 0u);
        EXPECT_TRUE(ui.messages.empty());
        ASSERT_EQ(record.points.size(), s.n);
        EXPECT_TRUE(near(s.firstX, record.points.front().x));
        EXPECT_TRUE(near(s.firstY, record.points.front().y));
        EXPECT_TRUE(near(s.lastX, record.points.back().x));
        EXPECT_TRUE(near(s.lastY, record.points.back().y));
        EXPECT_TRUE(near(s.yMin, record.plotInfo.yMin));
        EXPECT_TRUE(near(s.yMax, record.plotInfo.yMax));
        EXPECT_EQ(CheckXData(record), 0);
    }
}

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
        record.fileName = (folder.path() / "probe.dat").string();
        fs::copy_file(entry.path(), record.fileName);
        ui.formatAnswers.push_back(9);
        EXPECT_EQ(readSpectrum(ui, record).keyword, "UnknownFormat");
        ++files;
    }
    EXPECT_EQ(files, 9);
}

}  // namespace
