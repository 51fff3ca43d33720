// Grams SPC reader: synthetic files for each layout rule and hostile headers (the real files
// are read in samples_test.cpp).
#include <gtest/gtest.h>

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
    EXPECT_EQ(readFresh("alt.dat", b, 12).keyword, "CancelOpenFile");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, path + kOldMessage);
}

TEST_F(GramsTest, UnsupportedNewVariantsAreRefusedWithCaptionDateiformat) {
    struct Case {
        std::uint8_t flags, version;
    } cases[] = {{0, 0x4C}, {2, 0x4B}, {8, 0x4B}, {16, 0x4B}, {0x94, 0x4B}};
    for (const auto& c : cases) {
        Bytes b = header(c.flags, 4, 0, 3, 1, c.version);
        subheader(b, 0);
        b.u32(b.size() + 12, 0);
        const auto out = readFresh("variante.spc", b);
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
    EXPECT_EQ(readFresh("fremd.spc", b, 11).keyword, "UnknownFormat");
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
    expectPoints({{1, -1}, {2, 16384}, {3, 2}});
    b16.u8(at + 1, 15);
    ASSERT_TRUE(read("short15.spc", b16).ok());
    EXPECT_FLOAT_EQ(record.points[0].y, -0.5f);

    // 32-bit: 2^20 with exponent 12 is 1; negative values keep their sign.
    Bytes b32 = header(0, 2, 1, 2);
    at = subheader(b32, 12);
    b32.u32(at + 32, 1u << 20).u32(at + 36, static_cast<std::uint32_t>(-(1 << 21)));
    ASSERT_TRUE(read("long.spc", b32).ok());
    expectPoints({{1, 1}, {2, -2}});

    // Exponent 0x80: 32-bit floats, also in a 16-bit flagged file's layout width of 4.
    Bytes bf = header(0, 2, 1, 2);
    at = subheader(bf, -128);
    bf.f32(at + 32, 12.5f).f32(at + 36, -3.25f);
    ASSERT_TRUE(read("float.spc", bf).ok());
    expectPoints({{1, 12.5f}, {2, -3.25f}});
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
    EXPECT_EQ(readFresh("multi.spc", b).keyword, "CancelOpenFile");
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
    Bytes huge = header(0, 0x80000000u, 1, 2);
    subheader(huge, 0);
    huge.u8(2047, 0);
    Bytes manySub = header(0x04, 4, 1, 4, 0x7fffffffu);
    subheader(manySub, 0);
    manySub.u8(2047, 0);
    Bytes ownHuge = header(0x40, 0, 0, 0, 1);
    subheader(ownHuge, 0, 0xffffffffu);
    Bytes cut(100);
    cut.text(0, header(0, 4, 1, 4).str().substr(0, 100));
    Bytes zero = header(0, 0, 1, 4);
    subheader(zero, 0);
    // Format 11 goes straight to the reader when the extension fails.
    expectKeywords(
        {{"2^31 points in 2 KB", huge, "UnknownFormat"},
         {"2^31 subfiles", manySub, "UnknownFormat"},
         {"own x count beyond the file", ownHuge, "UnknownFormat"},
         {"common x beyond the file", header(0x80, 0x40000000u, 0, 0, 1), "UnknownFormat"},
         {"header cut short", cut, "UnknownFormat"},
         {"no subfile", header(0, 4, 1, 4), "UnknownFormat"},
         {"no points", zero, "NullFile"},
         {"empty file", Bytes(), "NullFile"}},
        "feind.spc", 11);
}

}  // namespace
