// 4Spec and Maps readers: synthetic files for signatures, curves and blocks, the choice
// dialogs and hostile headers (no real files of either format exist in the sample folder).
#include <gtest/gtest.h>

#include <vector>

#include "InstrumentTestSupport.h"

using namespace lumtest;

namespace {

class BinaryInstrumentTest : public InstrumentFileTest {};

// ---- 4Spec ------------------------------------------------------------------------------

struct Curve {
    std::string name;
    std::uint8_t type;
    std::vector<float> values;  // written as floats (type 2) or as integers
};

// The count at curve byte 215 reaches two bytes into the values: values whose low 16 bits
// are 0 (as those used here) keep the file consistent.
Bytes fourSpec(const std::vector<Curve>& curves, std::uint32_t storedCount = 0) {
    Bytes b;
    b.u8(0, 0xFC).u8(1, 0xFF).u8(2, 0x04).u8(3, 0x81);
    b.u32(4, storedCount ? storedCount : static_cast<std::uint32_t>(curves.size()));
    std::size_t at = 8;
    for (const auto& c : curves) {
        b.text(at, c.name).u8(at + 214, c.type);
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            if (c.type == 1)
                b.u32(at + 217 + 4 * i,
                      static_cast<std::uint32_t>(static_cast<std::int32_t>(c.values[i])));
            else
                b.f32(at + 217 + 4 * i, c.values[i]);
        }
        b.u32(at + 215, static_cast<std::uint32_t>(c.values.size()));
        at += 217 + 4 * c.values.size() + 8;
        b.u8(at - 1, 0);
    }
    return b;
}

TEST_F(BinaryInstrumentTest, FourSpecOneCurve) {
    auto out = read("kurve.crv", fourSpec({{"Probe \xC4 Nr. 1", 2, {1.5f, -2.0f, 3.0f}}}));
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_EQ(out.filterIndex, 5);
    EXPECT_TRUE(ui.trackCalls.empty());
    expectPoints({{1, 1.5f}, {2, -2}, {3, 3}});
    EXPECT_EQ(record.plotInfo.title, "Probe Ä Nr. 1");
    EXPECT_FLOAT_EQ(record.plotInfo.yMin, -2.0f);

    // The name field holds 28 bytes at most.
    ASSERT_TRUE(read("kurve.crv", fourSpec({{std::string(40, 'N'), 2, {1.0f}}})).ok());
    EXPECT_EQ(record.plotInfo.title, std::string(28, 'N'));
}

TEST_F(BinaryInstrumentTest, FourSpecCurveChoiceAndValueTypes) {
    const Bytes b = fourSpec({{"eins", 2, {1.0f, 2.0f}},
                              {"zwei", 1, {65536.0f, -131072.0f, 0.0f, 196608.0f}},
                              {"drei", 2, {7.0f}}});
    ui.trackAnswers.push_back(2);
    ASSERT_TRUE(read("kurven.crv", b).ok());
    ASSERT_EQ(ui.trackCalls.size(), 1u);
    EXPECT_EQ(ui.trackCalls[0].count, 3);
    EXPECT_EQ(record.fileName, path + " #2");
    EXPECT_EQ(record.plotInfo.title, "zwei");
    ASSERT_EQ(record.points.size(), 4u);
    EXPECT_FLOAT_EQ(record.points[1].y, -131072.0f);  // signed 32-bit integers
    EXPECT_FLOAT_EQ(record.points[3].y, 196608.0f);

    ui = ScriptedUi{};
    ui.trackAnswers.push_back(3);
    ASSERT_TRUE(read("kurven.crv", b).ok());
    EXPECT_EQ(ui.trackCalls[0].initial, 2);  // the curve chosen last
    ASSERT_EQ(record.points.size(), 1u);
    EXPECT_FLOAT_EQ(record.points[0].y, 7.0f);

    // A value type other than 1 or 2 cannot be read.
    EXPECT_EQ(readFresh("typ.dat", fourSpec({{"x", 3, {1.0f}}}), 6).keyword, "UnknownFormat");
}

TEST_F(BinaryInstrumentTest, FourSpecSignatureAndHostileHeaders) {
    // Any one of the four signature bytes admits the file.
    Bytes one = fourSpec({{"a", 2, {4.0f}}});
    one.u8(0, 0).u8(1, 0).u8(3, 0);
    ASSERT_TRUE(read("a.crv", one).ok());
    one.u8(2, 0);
    EXPECT_EQ(readFresh("a.crv", one, 6).keyword, "UnknownFormat");

    Bytes hugeCount = fourSpec({{"a", 2, {1.0f}}});
    hugeCount.u32(8 + 215, 0x80000000u);
    Bytes shortFile;
    shortFile.u8(0, 0xFC).u8(5, 0);
    expectKeywords({{"2^31 curves", fourSpec({{"a", 2, {1.0f}}}, 0x7fffffffu), "UnknownFormat"},
                    {"2^31 values", hugeCount, "UnknownFormat"},
                    {"second curve missing", fourSpec({{"a", 2, {1.0f}}}, 2), "UnknownFormat"},
                    {"no curve count", shortFile, "UnknownFormat"},
                    {"no curves", fourSpec({}, 0), "NullFile"},
                    {"no values", fourSpec({{"leer", 2, {}}}), "NullFile"},
                    {"empty file", Bytes(), "NullFile"}},
                   "feind.crv", 6);
}

// ---- Maps -------------------------------------------------------------------------------

struct MapsLayout {
    std::uint16_t widthCode = 1, kind = 1, imageField = 1, skip = 0;
    std::uint16_t xType = 0;
    std::uint16_t positions = 1, sequences = 1, exposures = 1, tracks = 1;
};

// Blocks as the reader walks them: position, sequence and exposure blocks begin with the
// length of their own header (here 3 bytes of filler); a track block holds n, x and y.
// Track values: y = 1000·position + 100·sequence + 10·exposure + track + i/10.
Bytes maps(const MapsLayout& l, std::uint16_t points = 2) {
    Bytes b;
    b.u32(0, 0x5350414D).u16(4, l.widthCode).u16(6, l.kind).u16(12, l.imageField).u16(22, l.skip);
    std::size_t at = 34 + l.skip;
    b.u16(at, l.xType).u16(at + 2, l.positions).u16(at + 4, l.sequences).u16(at + 6, l.exposures);
    b.u16(at + 28, l.tracks);
    at += 42;
    const int exposures = l.exposures > 1 ? l.exposures + 1 : l.exposures;
    const unsigned xWidth = l.xType == 1 ? 8 : 2u * l.widthCode;
    auto blockHeader = [&] {
        b.u16(at, 3).u8(at + 4, 0xEE);
        at += 5;
    };
    for (int p = 1; p <= l.positions; ++p) {
        blockHeader();
        for (int s = 1; s <= l.sequences; ++s) {
            blockHeader();
            for (int e = 1; e <= exposures; ++e) {
                blockHeader();
                for (int t = 1; t <= l.tracks; ++t) {
                    b.u16(at, points);
                    for (int i = 0; i < points; ++i) {
                        const std::size_t xAt = at + 2 + i * xWidth;
                        if (l.xType == 1)
                            b.f64(xAt, 500.25 + i);
                        else if (xWidth == 2)
                            b.u16(xAt, static_cast<std::uint16_t>(10 + i));
                        else
                            b.u32(xAt, static_cast<std::uint32_t>(100000 + i));
                        b.f32(at + 2 + points * xWidth + 4 * i,
                              static_cast<float>(1000 * p + 100 * s + 10 * e + t) + 0.1f * i);
                    }
                    at += 2 + points * (xWidth + 4);
                }
            }
        }
    }
    return b;
}

TEST_F(BinaryInstrumentTest, MapsImageFilesAreRefused) {
    MapsLayout image;
    image.widthCode = 2;
    image.kind = 2;
    image.imageField = 0;
    const auto out = read("bild.mps", maps(image));
    EXPECT_EQ(out.keyword, "CancelOpenFile");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, path + "\n\nMaps-Bildformate werden nicht unterstützt.");
    EXPECT_EQ(ui.messages[0].caption, "Datenformat");
    EXPECT_TRUE(record.points.empty());

    // Kind 2 that is no image is not read; a wrong signature is no Maps file.
    MapsLayout kind2;
    kind2.kind = 2;
    EXPECT_EQ(readFresh("k2.mps", maps(kind2), 7).keyword, "UnknownFormat");
    Bytes wrong = maps(MapsLayout{});
    wrong.u8(0, 'X');
    EXPECT_EQ(readFresh("falsch.mps", wrong, 7).keyword, "UnknownFormat");
}

TEST_F(BinaryInstrumentTest, MapsSingleBlockAndXTypes) {
    MapsLayout l;
    l.skip = 6;
    auto out = read("eins.mps", maps(l));
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_EQ(out.filterIndex, 6);
    EXPECT_TRUE(ui.mapsCalls.empty());
    ASSERT_EQ(record.points.size(), 2u);
    EXPECT_FLOAT_EQ(record.points[0].x, 10.0f);
    EXPECT_FLOAT_EQ(record.points[1].y, 1111.1f);

    l.widthCode = 2;
    ASSERT_TRUE(read("eins.mps", maps(l)).ok());
    EXPECT_FLOAT_EQ(record.points[1].x, 100001.0f);
    l.xType = 1;
    ASSERT_TRUE(read("eins.mps", maps(l)).ok());
    EXPECT_FLOAT_EQ(record.points[1].x, 501.25f);
}

TEST_F(BinaryInstrumentTest, MapsBlockWalkAndItsDialog) {
    MapsLayout l;
    l.positions = 2;
    l.sequences = 2;
    l.exposures = 2;  // three blocks: one more than stored
    l.tracks = 3;
    const Bytes b = maps(l, 3);
    ui.mapsAnswers.push_back(lumio::MapsChoice{2, 1, 3, 2});
    ASSERT_TRUE(read("viele.mps", b).ok());
    ASSERT_EQ(ui.mapsCalls.size(), 1u);
    EXPECT_EQ(ui.mapsCalls[0].counts, (lumio::MapsChoice{2, 2, 3, 3}));
    EXPECT_EQ(record.fileName, path + " #2,1,3,2");
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_FLOAT_EQ(record.points[0].y, 2132.0f);
    EXPECT_FLOAT_EQ(record.points[2].y, 2132.2f);

    // The last block of all; the dialog starts with the last choice.
    ui = ScriptedUi{};
    ui.mapsAnswers.push_back(lumio::MapsChoice{2, 2, 3, 3});
    ASSERT_TRUE(read("viele.mps", b).ok());
    EXPECT_EQ(ui.mapsCalls[0].initial, (lumio::MapsChoice{2, 1, 3, 2}));
    EXPECT_FLOAT_EQ(record.points[0].y, 2233.0f);

    EXPECT_EQ(readFresh("viele.mps", b).keyword, "CancelOpenFile");
}

TEST_F(BinaryInstrumentTest, MapsHostileHeaders) {
    Bytes manyBlocks = maps(MapsLayout{});
    manyBlocks.u16(34 + 2, 65535).u16(34 + 4, 65535).u16(34 + 6, 65535).u16(34 + 28, 65535);
    Bytes bigTrack = maps(MapsLayout{});
    bigTrack.u16(34 + 42 + 15, 65535);
    Bytes farSkip = maps(MapsLayout{});
    farSkip.u16(22, 65535);
    Bytes noTracks = maps(MapsLayout{});
    noTracks.u16(34 + 28, 0);
    Bytes cut;
    cut.u32(0, 0x5350414D).u8(20, 0);
    expectKeywords({{"65535 of everything", manyBlocks, "UnknownFormat"},
                    {"track longer than the file", bigTrack, "UnknownFormat"},
                    {"skip beyond the file", farSkip, "UnknownFormat"},
                    {"no tracks", noTracks, "NullFile"},
                    {"header cut short", cut, "UnknownFormat"},
                    {"empty file", Bytes(), "NullFile"}},
                   "feind.mps", 7);
}

}  // namespace
