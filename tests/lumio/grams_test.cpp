// Grams SPC reader: synthetic files for each layout rule, hostile headers, and the real
// files of the sample folder against independently read values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "InstrumentTestSupport.h"

using namespace lumtest;

namespace {

constexpr const char* kOldMessage =
    "\n\nDas alte Grams-Format wird noch nicht unterstützt.\nBitte wenden Sie sich an den "
    "Hersteller.";
constexpr const char* kVariantMessage =
    "\n\nDieses Grams-Format wird noch nicht unterstützt.\nBitte wenden Sie sich an den "
    "Hersteller.";

Bytes header(std::uint8_t flags, std::uint32_t points, double first, double last,
             std::uint32_t subfiles = 1, std::uint8_t version = 0x4B) {
    Bytes b(512);
    b.u8(0, flags).u8(1, version).u32(4, points).f64(8, first).f64(16, last).u32(24, subfiles);
    return b;
}

// Appends a subheader with exponent `exp` and `points` (own-x files), returns its offset.
std::size_t subheader(Bytes& b, std::int8_t exp, std::uint32_t points = 0) {
    const std::size_t at = b.size();
    b.u8(at + 1, static_cast<std::uint8_t>(exp)).u32(at + 16, points);
    b.u8(at + 31, 0);
    return at;
}

class GramsTest : public InstrumentFileTest {};

TEST_F(GramsTest, OldFormatIsRefusedWithItsMessage) {
    Bytes b = header(0, 4, 0, 3, 1, 0x4D);
    subheader(b, 0);
    const auto out = read("alt.spc", b);
    EXPECT_EQ(out.keyword, "CancelOpenFile");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, path + kOldMessage);
    EXPECT_EQ(ui.messages[0].caption, "Datenformat");
    EXPECT_EQ(ui.messages[0].icon, lumio::Icon::Stop);
    EXPECT_TRUE(record.points.empty());
    EXPECT_TRUE(ui.formatCalls.empty());

    // Chosen as the old format in the format dialog: the same refusal.
    ui = ScriptedUi{};
    ui.formatAnswers.push_back(12);
    const auto chosen = read("alt.dat", b);
    EXPECT_EQ(chosen.keyword, "CancelOpenFile");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, path + kOldMessage);
}

TEST_F(GramsTest, UnsupportedNewVariantsAreRefusedWithCaptionDateiformat) {
    struct Case {
        std::uint8_t flags, version;
    } cases[] = {{0, 0x4C}, {2, 0x4B}, {8, 0x4B}, {16, 0x4B}, {0x94, 0x4B}};
    for (const auto& c : cases) {
        ui = ScriptedUi{};
        Bytes b = header(c.flags, 4, 0, 3, 1, c.version);
        subheader(b, 0);
        b.u32(b.size() + 12, 0);
        const auto out = read("variante.spc", b);
        EXPECT_EQ(out.keyword, "CancelOpenFile") << int(c.flags);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, path + kVariantMessage);
        EXPECT_EQ(ui.messages[0].caption, "Dateiformat");
        EXPECT_TRUE(ui.trackCalls.empty());
    }
}

TEST_F(GramsTest, VersionByteDecidesAndOtherBytesLeadToTheFormatDialog) {
    Bytes b = header(0, 4, 0, 3, 1, 0x4A);
    subheader(b, 0);
    const auto out = read("fremd.spc", b);
    EXPECT_EQ(out.keyword, "CancelOpenFile");  // the dialog was cancelled
    ASSERT_EQ(ui.formatCalls.size(), 1u);
    EXPECT_EQ(ui.formatCalls[0].path, path);

    // Chosen as new format: its pre-check refuses the byte.
    ui = ScriptedUi{};
    ui.formatAnswers.push_back(11);
    EXPECT_EQ(read("fremd.spc", b).keyword, "UnknownFormat");
}

TEST_F(GramsTest, EvenlySpacedX) {
    // 1024 points from 200 to 1223: steps of exactly 1.
    Bytes b = header(0, 1024, 200, 1223);
    std::size_t at = subheader(b, 32);
    for (int i = 0; i < 1024; ++i) b.u32(at + 32 + 4 * i, static_cast<std::uint32_t>(i));
    auto out = read("even.spc", b);
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_EQ(out.filterIndex, 10);
    ASSERT_EQ(record.points.size(), 1024u);
    for (int i = 0; i < 1024; i += 97) EXPECT_FLOAT_EQ(record.points[i].x, 200.0f + i);
    EXPECT_FLOAT_EQ(record.points.back().x, 1223.0f);
    EXPECT_FLOAT_EQ(record.points[5].y, 5.0f);  // exponent 32: the integer itself
    EXPECT_FLOAT_EQ(record.plotInfo.xMin, 200.0f);
    EXPECT_FLOAT_EQ(record.plotInfo.xMax, 1223.0f);
    EXPECT_FLOAT_EQ(record.plotInfo.yMax, 1023.0f);
    EXPECT_TRUE(record.plotInfo.title.empty());

    // 0 … 1023 over 1024 points are pixel numbers 1 … 1024.
    b.f64(8, 0).f64(16, 1023);
    out = read("pixel.spc", b);
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_FLOAT_EQ(record.points.front().x, 1.0f);
    EXPECT_FLOAT_EQ(record.points.back().x, 1024.0f);
    EXPECT_FLOAT_EQ(record.plotInfo.xMin, 1.0f);

    // Falling x stays in file order; a single point takes the first x.
    b.f64(8, 900).f64(16, 400);
    ASSERT_TRUE(read("falling.spc", b).ok());
    EXPECT_FLOAT_EQ(record.points[0].x, 900.0f);
    EXPECT_NEAR(record.points[1].x, 900.0 - 500.0 / 1023.0, 1e-3);
    Bytes one = header(0, 1, 500, 500);
    at = subheader(one, 32);
    one.u32(at + 32, 7);
    ASSERT_TRUE(read("one.spc", one).ok());
    ASSERT_EQ(record.points.size(), 1u);
    EXPECT_FLOAT_EQ(record.points[0].x, 500.0f);
}

TEST_F(GramsTest, IntegerAndFloatYWithTheSubfileExponent) {
    // 16-bit: -1 with exponent 16 is -1; 0x4000 with exponent 15 is 0.5.
    Bytes b16 = header(1, 3, 1, 3);
    std::size_t at = subheader(b16, 16);
    b16.u16(at + 32, 0xFFFF).u16(at + 34, 0x4000).u16(at + 36, 2);
    ASSERT_TRUE(read("short.spc", b16).ok());
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_FLOAT_EQ(record.points[0].y, -1.0f);
    EXPECT_FLOAT_EQ(record.points[1].y, 16384.0f);
    b16.u8(at + 1, 15);
    ASSERT_TRUE(read("short15.spc", b16).ok());
    EXPECT_FLOAT_EQ(record.points[0].y, -0.5f);

    // 32-bit: 2^20 with exponent 12 is 1; negative values keep their sign.
    Bytes b32 = header(0, 2, 1, 2);
    at = subheader(b32, 12);
    b32.u32(at + 32, 1u << 20).u32(at + 36, static_cast<std::uint32_t>(-(1 << 21)));
    ASSERT_TRUE(read("long.spc", b32).ok());
    EXPECT_FLOAT_EQ(record.points[0].y, 1.0f);
    EXPECT_FLOAT_EQ(record.points[1].y, -2.0f);

    // Exponent 0x80: 32-bit floats, also in a 16-bit flagged file's layout width of 4.
    Bytes bf = header(0, 2, 1, 2);
    at = subheader(bf, -128);
    bf.f32(at + 32, 12.5f).f32(at + 36, -3.25f);
    ASSERT_TRUE(read("float.spc", bf).ok());
    EXPECT_FLOAT_EQ(record.points[0].y, 12.5f);
    EXPECT_FLOAT_EQ(record.points[1].y, -3.25f);
    EXPECT_FLOAT_EQ(record.plotInfo.yMin, -3.25f);
}

TEST_F(GramsTest, SubfilesWithTheirOwnXAndTheTrackDialog) {
    // Three subfiles of 2, 3 and 1 points, each with its own x; 16-bit y.
    Bytes b = header(0x44 | 1, 0, 0, 0, 3);
    const float xs[3][3] = {{1, 2, 0}, {10, 20, 30}, {7, 0, 0}};
    const int n[3] = {2, 3, 1};
    for (int s = 0; s < 3; ++s) {
        const std::size_t at = subheader(b, 16, static_cast<std::uint32_t>(n[s]));
        for (int i = 0; i < n[s]; ++i) b.f32(at + 32 + 4 * i, xs[s][i]);
        for (int i = 0; i < n[s]; ++i)
            b.u16(at + 32 + 4 * n[s] + 2 * i, static_cast<std::uint16_t>(100 * (s + 1) + i));
    }
    ui.trackAnswers.push_back(2);
    auto out = read("multi.spc", b);
    ASSERT_TRUE(out.ok()) << out.keyword;
    ASSERT_EQ(ui.trackCalls.size(), 1u);
    EXPECT_EQ(ui.trackCalls[0].count, 3);
    EXPECT_EQ(record.fileName, path + " #2");
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_FLOAT_EQ(record.points[2].x, 30.0f);
    EXPECT_FLOAT_EQ(record.points[2].y, 202.0f);

    // The dialog starts with the subfile chosen last; the last subfile reads too.
    ui = ScriptedUi{};
    ui.trackAnswers.push_back(3);
    ASSERT_TRUE(read("multi.spc", b).ok());
    EXPECT_EQ(ui.trackCalls[0].initial, 2);
    ASSERT_EQ(record.points.size(), 1u);
    EXPECT_FLOAT_EQ(record.points[0].x, 7.0f);

    // Cancelling the dialog cancels the reading.
    ui = ScriptedUi{};
    EXPECT_EQ(read("multi.spc", b).keyword, "CancelOpenFile");
}

TEST_F(GramsTest, CommonXArrayAndAxisLabels) {
    // Two subfiles of 3 points sharing one x array; labels in Windows-1252.
    Bytes b = header(0x80 | 0x04 | 0x20, 3, 0, 0, 2);
    b.text(218, std::string("Wellenl\xE4nge [nm]\0Z\xE4hlrate\0", 27));
    b.f32(512, 400).f32(516, 401).f32(520, 402);
    for (int s = 0; s < 2; ++s) {
        const std::size_t at = subheader(b, -128);
        for (int i = 0; i < 3; ++i) b.f32(at + 32 + 4 * i, 10.0f * (s + 1) + i);
    }
    ui.trackAnswers.push_back(2);
    ASSERT_TRUE(read("common.spc", b).ok());
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_FLOAT_EQ(record.points[1].x, 401.0f);
    EXPECT_FLOAT_EQ(record.points[1].y, 21.0f);
    EXPECT_EQ(record.plotInfo.xTitle, "Wellenlänge [nm]");
    EXPECT_EQ(record.plotInfo.yTitle, "Zählrate");
}

TEST_F(GramsTest, HostileHeadersEndInAKeyword) {
    struct Case {
        const char* what;
        Bytes bytes;
        const char* keyword;
    };
    std::vector<Case> cases;
    Bytes huge = header(0, 0x80000000u, 1, 2);
    subheader(huge, 0);
    huge.u8(2047, 0);
    cases.push_back({"2^31 points in 2 KB", huge, "UnknownFormat"});
    Bytes manySub = header(0x04, 4, 1, 4, 0x7fffffffu);
    subheader(manySub, 0);
    manySub.u8(2047, 0);
    cases.push_back({"2^31 subfiles", manySub, "UnknownFormat"});
    Bytes ownHuge = header(0x40, 0, 0, 0, 1);
    subheader(ownHuge, 0, 0xffffffffu);
    cases.push_back({"own x count beyond the file", ownHuge, "UnknownFormat"});
    Bytes commonHuge = header(0x80, 0x40000000u, 0, 0, 1);
    cases.push_back({"common x beyond the file", commonHuge, "UnknownFormat"});
    Bytes shortHeader = header(0, 4, 1, 4);
    Bytes cut(100);
    cut.text(0, shortHeader.str().substr(0, 100));
    cases.push_back({"header cut short", cut, "UnknownFormat"});
    Bytes noSub = header(0, 4, 1, 4);
    cases.push_back({"no subfile", noSub, "UnknownFormat"});
    Bytes zero = header(0, 0, 1, 4);
    subheader(zero, 0);
    cases.push_back({"no points", zero, "NullFile"});
    cases.push_back({"empty file", Bytes(), "NullFile"});
    for (const auto& c : cases) {
        ui = ScriptedUi{};
        ui.formatAnswers.push_back(11);  // straight to the reader when the extension fails
        const auto out = read("feind.spc", c.bytes);
        EXPECT_EQ(out.keyword, c.keyword) << c.what;
        EXPECT_TRUE(ui.trackCalls.empty()) << c.what;
    }
}

// ---- Real files -------------------------------------------------------------------------

struct SpcSample {
    const char* name;
    int subfiles;  // 0: refused with a message
    std::size_t n;
    double firstX, firstY, lastX, lastY, yMin, yMax;
};

// Expected values from the sample manifest (independent reader, first subfile, file order).
const SpcSample kSpcSamples[] = {
    {"s_evenx.spc", 1, 1844, 447.4840698, 0.008050619625, 4002.281738, 0.005854657851,
     -0.009797530249, 0.4648916721},
    {"Ft-ir.spc", 1, 1776, 4000, 95.13749695, 450, 94.88349152, 3.307271004, 100},
    {"MERC.SPC", 1, 3001, 20000, 124, 17000, 11, 2, 1533825},
    {"KRY3.SPC", 1, 151, 15590, 10, 15575, 8, 0, 29},
    {"HENE25.SPC", 1, 51, 15820, 154, 15815, 539, 140, 87372},
    {"TS01.SPC", 1, 131, 790, 11297, 920, 48, 0, 1008041},
    {"s_xy.spc", 1, 512, 1.086666703, 45333, 6.017166615, 22761, 22761, 673534},
    {"BC408_5mmHorizontal.spc", 1, 1024, 400.6195068, 7313, 538.012207, 9764, 7313, 114496},
    {"CAthickyellow_try4_18.spc", 1, 1024, 819.2555542, 2904, 629.4614258, 2337, 2337, 11170},
    {"OceanOptics.spc", 1, 3648, 176.3604126, 0, 893.6943359, 119.4251709, -6900, 2200},
    {"nir.spc", 20, 700, 1100, 0.000200483948, 2498, 0.001441176981, 0.000200483948,
     4.041977882},
    {"m_evenz.spc", 32, 171, 200, 0, 800, 0, -0.0002999489661, 0.129525423},
    {"4d_map.spc", 121, 313, 798.3953857, 0.2231933475, 2001.773926, 0.2751993537,
     0.2225902379, 0.4296475947},
    {"ms.spc", 1, 128, 42, 1884, 413, 317, 97, 9999},
    // Refused: ordered z values (0x10), old LabCalc format (0x4D).
    {"CAthickyellow_try4_17_ZSCAN.spc", 0, 0, 0, 0, 0, 0, 0, 0},
    {"m_xyxy.spc", 0, 0, 0, 0, 0, 0, 0, 0},
    {"DOERNER.spc", 0, 0, 0, 0, 0, 0, 0, 0},
    {"m_ordz.spc", 0, 0, 0, 0, 0, 0, 0, 0},
};

// The x,y pairs of an independent reader's output (sorted by x there).
std::vector<std::pair<double, double>> expectedPairs(const fs::path& file) {
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

TEST(GramsSamples, EveryRealFileReadsAsTheIndependentReaderReadsIt) {
    LUMTEST_REQUIRE_SAMPLES(dir);
    for (const auto& s : kSpcSamples) {
        SCOPED_TRACE(s.name);
        ScriptedUi ui;
        SpectrumRecord record;
        record.fileName = (dir / "spc" / s.name).string();
        ui.trackAnswers.push_back(1);
        const auto out = readSpectrum(ui, record);
        if (s.subfiles == 0) {
            EXPECT_EQ(out.keyword, "CancelOpenFile");
            EXPECT_EQ(ui.messages.size(), 1u);
            EXPECT_TRUE(record.points.empty());
            continue;
        }
        ASSERT_TRUE(out.ok()) << out.keyword;
        EXPECT_EQ(out.filterIndex, 10);
        if (s.subfiles > 1) {
            ASSERT_EQ(ui.trackCalls.size(), 1u);
            EXPECT_EQ(ui.trackCalls[0].count, s.subfiles);
        } else {
            EXPECT_TRUE(ui.trackCalls.empty());
        }
        EXPECT_TRUE(ui.messages.empty());
        ASSERT_EQ(record.points.size(), s.n);
        EXPECT_TRUE(near(s.firstX, record.points.front().x));
        EXPECT_TRUE(near(s.firstY, record.points.front().y));
        EXPECT_TRUE(near(s.lastX, record.points.back().x));
        EXPECT_TRUE(near(s.lastY, record.points.back().y));
        EXPECT_TRUE(near(s.yMin, record.plotInfo.yMin));
        EXPECT_TRUE(near(s.yMax, record.plotInfo.yMax));

        // Point by point against the independent reader's output (ascending x there).
        const auto expected = expectedPairs(dir / "expected" / "spc" / (std::string(s.name) + ".spc-parser.txt"));
        ASSERT_EQ(expected.size(), s.n);
        std::vector<TPointF> ours(record.points.begin(), record.points.end());
        if (ours.front().x > ours.back().x) std::reverse(ours.begin(), ours.end());
        int mismatches = 0;
        for (std::size_t i = 0; i < s.n; ++i)
            if (!near(expected[i].first, ours[i].x) || !near(expected[i].second, ours[i].y, 2e-6, 1e-8))
                ++mismatches;
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(GramsSamples, LaterSubfilesAndTheAxisLabels) {
    LUMTEST_REQUIRE_SAMPLES(dir);
    struct Last {
        const char* name;
        int subfile;
        double firstY, lastY, yMin, yMax;
    } lasts[] = {
        {"nir.spc", 20, 0.0004443895596, 2.55569521e-05, 2.55569521e-05, 5.872063637},
        {"m_evenz.spc", 32, 0, 0, -0.008160012774, 1.305451751},
        {"4d_map.spc", 121, 0.1300784051, 0.1893634647, 0.1287984699, 0.2861081958},
        // Exponent 0 taken as it stands (the manifest's recommended reading).
        {"m_evenz.spc", 2, 0, 0, -1e30, 0.4757522941},
    };
    for (const auto& l : lasts) {
        SCOPED_TRACE(std::string(l.name) + " #" + std::to_string(l.subfile));
        ScriptedUi ui;
        SpectrumRecord record;
        record.fileName = (dir / "spc" / l.name).string();
        ui.trackAnswers.push_back(l.subfile);
        ASSERT_TRUE(readSpectrum(ui, record).ok());
        EXPECT_EQ(record.fileName, (dir / "spc" / l.name).string() + " #" + std::to_string(l.subfile));
        EXPECT_TRUE(near(l.firstY, record.points.front().y));
        EXPECT_TRUE(near(l.lastY, record.points.back().y));
        if (l.yMin > -1e29) {
            EXPECT_TRUE(near(l.yMin, record.plotInfo.yMin));
        }
        EXPECT_TRUE(near(l.yMax, record.plotInfo.yMax));
    }

    ScriptedUi ui;
    SpectrumRecord record;
    record.fileName = (dir / "spc" / "MERC.SPC").string();
    ASSERT_TRUE(readSpectrum(ui, record).ok());
    EXPECT_EQ(record.plotInfo.xTitle, "Wavenumber (cm-1)");
    EXPECT_EQ(record.plotInfo.yTitle, "(arb)");
}

}  // namespace
