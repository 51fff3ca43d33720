// WriteFileData: extensions, rising x, the layouts of the exports, the binary trailer, the
// messages on an unwritable target and a failed write (which keeps the previous file), and
// write -> read round trips of every file type.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>

#include "ChildProcess.h"
#include "ReadCases.h"
#include "lumcore/Printf.h"

using lumtest::readBytes;
using lumtest::readSpectrum;
using lumtest::ScriptedUi;

namespace {

class Writers : public ::testing::Test {
  protected:
    lumtest::TempFolder dir{"writers"};
    ScriptedUi ui;

    SpectrumRecord spectrum(const std::string& name, TPointList points, std::string title = {}) {
        SpectrumRecord r;
        r.fileName = dir.path(name);
        r.points = std::move(points);
        r.plotInfo.title = std::move(title);
        return r;
    }
};

TEST_F(Writers, ExtensionRules) {
    const auto cases = lumtest::tableRows("write_extensions.tsv");
    EXPECT_EQ(cases.size(), 9u);
    for (const auto& c : cases) {
        SpectrumRecord r = spectrum(c[1], {{1, 2}, {2, 3}});
        EXPECT_EQ(WriteFileData(ui, r, std::stoi(c[0])), lumio::WriteResult::Done);
        EXPECT_EQ(r.fileName, dir.path(c[2])) << c[0] << " " << c[1];
        EXPECT_TRUE(std::filesystem::exists(r.fileName)) << r.fileName;
    }
    EXPECT_TRUE(ui.messages.empty());
    SpectrumRecord r = spectrum("a", {});
    EXPECT_THROW((void)WriteFileData(ui, r, 7), std::invalid_argument);
}

TEST_F(Writers, LayoutsRiseInXAndOnlyBinaryFilesTakeTheTitle) {
    const auto cases = lumtest::tableRows("write_layouts.tsv");
    EXPECT_EQ(cases.size(), 5u);
    for (const auto& c : cases) {
        SpectrumRecord r = spectrum(c[1], {{402.25f, 3.0f}, {401.0f, 1200.0f}, {400.5f, 1e-5f}},
                                    c[2] == "-" ? "" : c[2]);
        ASSERT_EQ(WriteFileData(ui, r, std::stoi(c[0])), lumio::WriteResult::Done);
        EXPECT_EQ(readBytes(r.fileName), lumtest::unescape(c[3])) << c[1];
    }
}

TEST_F(Writers, UnwritableTargetIsReportedAndKeepsTheNewName) {
    SpectrumRecord r = spectrum("no-such-folder/probe", {{1, 2}});
    EXPECT_EQ(WriteFileData(ui, r, 5), lumio::WriteResult::Failed);
    EXPECT_EQ(r.fileName, dir.path("no-such-folder/probe.bin"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, r.fileName +
                                       "\n\nDie Datei kann nicht zum Schreiben geöffnet werden.\n"
                                       "Überprüfen Sie die Zugriffsrechte.");
    EXPECT_EQ(ui.messages[0].caption, "Orvenit Lumora");
    EXPECT_EQ(ui.messages[0].icon, lumio::Icon::Stop);
}

TEST_F(Writers, FullDiskIsNotReportedAsSaved) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    // A name with ".txt" that leads to /dev/full opens fine and fails on writing.
    SpectrumRecord r = spectrum("full.txt", {{1, 2}, {2, 3}});
    std::filesystem::create_symlink("/dev/full", r.fileName);
    EXPECT_EQ(WriteFileData(ui, r, 3), lumio::WriteResult::Failed);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, r.fileName + "\n\nDie Datei konnte nicht geschrieben werden.");
}

// A save that fails part-way (here: files limited to 4 KiB, as on a disk that fills up)
// leaves the previous file byte for byte and no temporary file beside it.
TEST_F(Writers, FailurePartWayKeepsThePreviousFile) {
    TPointList many;
    for (int i = 0; i < 5000; ++i)
        many.push_back({500.0f + 0.01f * static_cast<float>(i), 1.5f * static_cast<float>(i)});
    for (const int type : {1, 5}) {
        SpectrumRecord old = spectrum(type == 1 ? "kept.lmx" : "kept.bin", {{1, 2}, {2, 3}}, "alt");
        ASSERT_EQ(WriteFileData(ui, old, type), lumio::WriteResult::Done);
        const std::string before = readBytes(old.fileName);
        SpectrumRecord big = spectrum("", many);
        big.fileName = old.fileName;
        const int status = lumtest::withFileSizeLimit(4096, [&] {
            const bool failed = WriteFileData(ui, big, type) == lumio::WriteResult::Failed;
            return failed && ui.messages.size() == 1 &&
                           ui.messages[0].text ==
                               big.fileName + "\n\nDie Datei konnte nicht geschrieben werden."
                       ? 0
                       : 1;
        });
        EXPECT_EQ(status, 0) << type;
        EXPECT_EQ(readBytes(old.fileName), before) << type;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(Writers, BinaryValuesThatWouldEndTheFileAreWarnedAbout) {
    SpectrumRecord y = spectrum("big.bin", {{1, 5}, {2, 2e9f}, {3, 6}});
    ASSERT_EQ(WriteFileData(ui, y, 6), lumio::WriteResult::Done);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, lumio::Icon::Exclamation);
    EXPECT_EQ(readBytes(y.fileName), lumtest::floatBytes({5, 2e9f, 6}));  // written all the same
    // In pairs only x ends the numbers: a large y is no problem there.
    SpectrumRecord xy = spectrum("pairs.bin", {{1, 5}, {2, 2e9f}, {3, 6}});
    ASSERT_EQ(WriteFileData(ui, xy, 5), lumio::WriteResult::Done);
    EXPECT_EQ(ui.messages.size(), 1u);
}

// A spectrum whose x step (0.0002 nm near 500 nm) lies in the seventh digit, with y values
// across the float range, through every file type and back.
class RoundTrip : public Writers, public ::testing::WithParamInterface<int> {};

TEST_P(RoundTrip, EveryPointAndEveryBitComesBack) {
    const int type = GetParam();
    std::mt19937 random(type);
    // Binary y files end at the first value of 1e9 or more: their y stay below.
    std::uniform_real_distribution<float> magnitude(-30.0f, type == 6 ? 8.9f : 30.0f);
    TPointList points;
    for (int i = 0; i < 5000; ++i) {
        const float x = 500.0f + 0.0002f * static_cast<float>(i);
        float y = std::pow(10.0f, magnitude(random)) * ((random() & 1) ? 1.0f : -1.0f);
        if (i % 97 == 0) y = 0.0f;
        points.push_back({x, y});
    }
    // Neighbouring x differ: nothing is dropped as a duplicate on the way back.
    for (std::size_t i = 1; i < points.size(); ++i) ASSERT_NE(points[i].x, points[i - 1].x);

    SpectrumRecord saved = spectrum("trip", points, "Messung 7");
    ASSERT_EQ(WriteFileData(ui, saved, type), lumio::WriteResult::Done);
    ASSERT_TRUE(ui.messages.empty());

    SpectrumRecord back;
    const auto r = readSpectrum(ui, back, saved.fileName);
    ASSERT_TRUE(r.ok()) << r.keyword;
    ASSERT_EQ(back.points.size(), points.size());
    const bool yOnly = type == 4 || type == 6;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const float x = yOnly ? static_cast<float>(i + 1) : points[i].x;
        ASSERT_TRUE(lumtest::sameBits(back.points[i].x, x)) << i;
        ASSERT_TRUE(lumtest::sameBits(back.points[i].y, points[i].y)) << i;
    }
    if (type == 5 || type == 6) {
        EXPECT_EQ(back.plotInfo.title, "Messung 7");
    }
    // Every file, the CSV table included, is recognised by its name and content alone.
    EXPECT_EQ(ui.formatCalls.size(), 0u);
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(AllTypes, RoundTrip, ::testing::Range(1, 7));

}  // namespace
