// WinSpec SPE reader: synthetic files for data types, frames and strips, the calibration
// polynomial and hostile headers (the real files are read in samples_test.cpp).
#include <gtest/gtest.h>

#include <vector>

#include "InstrumentTestSupport.h"

using namespace lumtest;

namespace {

Bytes speHeader(std::uint16_t points, std::int16_t type, std::uint16_t strips,
                std::int32_t frames) {
    Bytes b(4100);
    b.u16(42, points).u16(108, static_cast<std::uint16_t>(type)).u16(656, strips);
    b.u32(1446, static_cast<std::uint32_t>(frames)).u32(2996, 0x01234567);
    b.text(602, "Pixel").text(1458, "Intensit\xE4t").text(3978, "Counts");
    return b;
}

class WinSpecTest : public InstrumentFileTest {
  protected:
    ReadOutcome read(const Bytes& bytes, const std::string& name = "probe.spe") {
        return InstrumentFileTest::read(name, bytes);
    }
};

TEST_F(WinSpecTest, OneStripOpensWithoutDialogAndTheDataTypesRead) {
    Bytes b = speHeader(3, 3, 1, 1);
    b.u16(4100, 7).u16(4102, 65535).u16(4104, 0);
    auto out = read(b);
    ASSERT_TRUE(out.ok()) << out.keyword;
    EXPECT_EQ(out.filterIndex, 11);
    EXPECT_TRUE(ui.frameStripCalls.empty());
    EXPECT_EQ(record.fileName, path);
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_FLOAT_EQ(record.points[0].x, 0.0f);  // no calibration: pixel index from 0
    EXPECT_FLOAT_EQ(record.points[2].x, 2.0f);
    EXPECT_FLOAT_EQ(record.points[1].y, 65535.0f);
    EXPECT_EQ(record.plotInfo.xTitle, "Pixel");
    EXPECT_EQ(record.plotInfo.yTitle, "Counts");  // integer data: the intensity label
    EXPECT_TRUE(record.plotInfo.title.empty());

    struct Case {
        std::int16_t type;
        std::uint32_t raw;
        float expected;
        unsigned width;
    } cases[] = {{0, 0x3FC00000u, 1.5f, 4},
                 {1, static_cast<std::uint32_t>(-70000), -70000.0f, 4},
                 {2, 0xFFFBu, -5.0f, 2},
                 {3, 0xFFFBu, 65531.0f, 2},
                 {8, 4000000000u, 4.0e9f, 4}};
    for (const auto& c : cases) {
        Bytes t = speHeader(2, c.type, 1, 1);
        if (c.width == 4)
            t.u32(4100, c.raw).u32(4104, 0);
        else
            t.u16(4100, static_cast<std::uint16_t>(c.raw)).u16(4102, 0);
        ASSERT_TRUE(read(t).ok()) << c.type;
        ASSERT_EQ(record.points.size(), 2u);
        EXPECT_FLOAT_EQ(record.points[0].y, c.expected) << c.type;
        EXPECT_EQ(record.plotInfo.yTitle, c.type == 0 ? "Intensität" : "Counts");
    }
    EXPECT_EQ(read(speHeader(2, 5, 1, 1)).keyword, "CancelOpenFile");  // unknown type: dialog
    EXPECT_EQ(ui.formatCalls.size(), 1u);
}

TEST_F(WinSpecTest, FramesAndStripsThroughTheirDialog) {
    // 2 frames of 3 strips of 4 points; value = 100·frame + 10·strip + point.
    Bytes b = speHeader(4, 3, 3, 2);
    for (int f = 1; f <= 2; ++f)
        for (int s = 1; s <= 3; ++s)
            for (int p = 0; p < 4; ++p)
                b.u16(4100 + 2 * (((f - 1) * 3 + (s - 1)) * 4 + p),
                      static_cast<std::uint16_t>(100 * f + 10 * s + p));
    ui.frameStripAnswers.push_back(lumio::Ui::FrameStrip{2, 1});
    ASSERT_TRUE(read(b).ok());
    ASSERT_EQ(ui.frameStripCalls.size(), 1u);
    EXPECT_EQ(ui.frameStripCalls[0].frames, 2);
    EXPECT_EQ(ui.frameStripCalls[0].strips, 3);
    // Frame 2, strip 1 starts 3 × points values behind the header.
    ASSERT_EQ(record.points.size(), 4u);
    EXPECT_FLOAT_EQ(record.points[0].y, 210.0f);
    EXPECT_FLOAT_EQ(record.points[3].y, 213.0f);
    EXPECT_EQ(record.fileName, path + " #1,2");  // strip, then frame

    // The dialog starts with the last choice; the last strip of the last frame reads.
    ui = ScriptedUi{};
    ui.frameStripAnswers.push_back(lumio::Ui::FrameStrip{2, 3});
    ASSERT_TRUE(read(b).ok());
    EXPECT_EQ(ui.frameStripCalls[0].initial.frame, 2);
    EXPECT_EQ(ui.frameStripCalls[0].initial.strip, 1);
    EXPECT_FLOAT_EQ(record.points[0].y, 230.0f);
    EXPECT_EQ(record.fileName, path + " #3,2");

    // A last choice beyond a smaller file starts at 1; cancelling cancels.
    Bytes small = speHeader(1, 3, 2, 1);
    small.u32(4100, 0);
    EXPECT_EQ(readFresh("probe.spe", small).keyword, "CancelOpenFile");
    ASSERT_EQ(ui.frameStripCalls.size(), 1u);
    EXPECT_EQ(ui.frameStripCalls[0].initial.frame, 1);
    EXPECT_EQ(ui.frameStripCalls[0].initial.strip, 1);
}

TEST_F(WinSpecTest, CalibrationPolynomialOverPixelNumbers) {
    Bytes b = speHeader(3, 0, 1, 1);
    b.u8(3098, 1).u8(3101, 1).f64(3263, 400).f64(3271, 0.1).text(3018, "Wellenl\xE4nge [nm]");
    b.f64(3279, 99);  // beyond the order: not used
    b.f32(4100, 1).f32(4104, 2).f32(4108, 3);
    ASSERT_TRUE(read(b).ok());
    expectPoints({{400.1f, 1}, {400.2f, 2}, {400.3f, 3}});
    EXPECT_EQ(record.plotInfo.xTitle, "Wellenlänge [nm]");

    // Order 2 with 1-based pixels: x = 1 + 2p + 3p².
    b.u8(3101, 2).f64(3263, 1).f64(3271, 2).f64(3279, 3);
    ASSERT_TRUE(read(b).ok());
    EXPECT_FLOAT_EQ(record.points[0].x, 6.0f);
    EXPECT_FLOAT_EQ(record.points[2].x, 34.0f);
}

// A version 3 file: the header's fields, then the data, then the XML footer.
Bytes speVersion3(std::uint16_t headerPoints, int frames, std::uint32_t width, std::uint32_t height,
                  std::uint32_t frameStride, const std::vector<float>& data) {
    Bytes b = speHeader(headerPoints, 0, 1, frames);
    b.f32(1992, 3.0f);
    for (std::size_t i = 0; i < data.size(); ++i) b.f32(4100 + 4 * i, data[i]);
    const std::size_t footer = b.size();
    b.u32(678, static_cast<std::uint32_t>(footer));
    const unsigned frameSize = 4 * width * height;
    b.text(footer, "<SpeFormat><DataFormat><DataBlock type=\"Frame\" count=\"" +
                       std::to_string(frames) + "\" size=\"" + std::to_string(frameSize) +
                       "\" stride=\"" + std::to_string(frameStride) +
                       "\"><DataBlock type=\"Region\" count=\"1\" width=\"" +
                       std::to_string(width) + "\" height=\"" + std::to_string(height) +
                       "\" /></DataBlock></DataFormat></SpeFormat>");
    return b;
}

TEST_F(WinSpecTest, Version3FooterGivesTheStoredLayout) {
    // The header claims 2 points; the footer's region holds 4.
    ASSERT_TRUE(read(speVersion3(2, 1, 4, 1, 16, {1, 2, 3, 4})).ok());
    ASSERT_EQ(record.points.size(), 4u);
    EXPECT_FLOAT_EQ(record.points[3].y, 4.0f);

    // Two frames of 2 × 2 values, each followed by 8 bytes of frame metadata.
    ui.frameStripAnswers.push_back(lumio::Ui::FrameStrip{2, 2});
    ASSERT_TRUE(read(speVersion3(9, 2, 2, 2, 24, {1, 2, 3, 4, -1, -1, 5, 6, 7, 8})).ok());
    ASSERT_EQ(ui.frameStripCalls.size(), 1u);
    EXPECT_EQ(ui.frameStripCalls[0].strips, 2);
    expectPoints({{0, 7}, {1, 8}});

    // A footer claiming more than the file holds is refused; a version 2 file ignores it.
    EXPECT_EQ(readFresh("probe.spe", speVersion3(2, 1, 4000, 1, 16000, {1, 2}), 13).keyword,
              "UnknownFormat");
    Bytes version2 = speVersion3(2, 1, 4000, 1, 16000, {1, 2});
    version2.f32(1992, 2.2f);
    ASSERT_TRUE(read(version2).ok());
    EXPECT_EQ(record.points.size(), 2u);
}

TEST_F(WinSpecTest, HostileHeadersEndInAKeyword) {
    Bytes truncated = speHeader(100, 3, 1, 1);
    truncated.u8(4100 + 150, 0);
    Bytes cut(3500);
    cut.text(0, speHeader(10, 3, 1, 1).str().substr(0, 3500));
    Bytes noId = speHeader(2, 3, 1, 1);
    noId.u32(2996, 0x12345678).u32(4100, 0);
    expectKeywords({{"2^31 - 1 frames", speHeader(65535, 1, 65535, 0x7fffffff), "UnknownFormat"},
                    {"data cut short", truncated, "UnknownFormat"},
                    {"header cut short", cut, "UnknownFormat"},
                    {"no identifier", noId, "UnknownFormat"},
                    {"no points", speHeader(0, 3, 1, 1), "NullFile"},
                    {"empty file", Bytes(), "NullFile"}},
                   "probe.spe", 13);

    // Negative frame counts count as one frame.
    Bytes negative = speHeader(2, 3, 1, -5);
    negative.u32(4100, 0x00090008);
    ASSERT_TRUE(read(negative).ok());
    EXPECT_TRUE(ui.frameStripCalls.empty());
    EXPECT_FLOAT_EQ(record.points[1].y, 9.0f);
}

}  // namespace
