// Hostile and broken input: every reader ends in a keyword or reads something sensible;
// none crashes, hangs or asks for unbounded memory.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "IoTestFiles.h"
#include "formats/Readers.h"

using lumtest::ScriptedUi;
using namespace lumio::detail;

namespace {

struct Reader {
    const char* name;
    ReaderFn fn;
};
const Reader kReaders[] = {
    {"native", readNative},   {"ascii", readAscii},   {"asciiXY", readAsciiXY},
    {"asciiY", readAsciiY},   {"binary", readBinary}, {"binaryXY", readBinaryXY},
    {"binaryY", readBinaryY},
};

class Hostile : public ::testing::Test {
  protected:
    lumtest::TempFolder dir{"hostile"};

    // Runs the reader on `bytes`; returns "" on success, else the keyword. Anything other
    // than an outcome keyword fails the test.
    std::string run(const Reader& reader, const std::string& bytes, ScriptedUi& ui,
                    SpectrumRecord& record) {
        record = SpectrumRecord{};
        record.fileName = dir.write(std::string(reader.name) + ".in", bytes);
        ReadContext ctx{ui, record};
        try {
            reader.fn(ctx);
        } catch (const lumio::Outcome& e) {
            static const std::set<std::string> keywords = {"NoFile", "NullFile", "UnknownFormat",
                                                           "DataNumberOverflow", "CancelOpenFile"};
            EXPECT_TRUE(keywords.count(e.keyword())) << e.keyword();
            return e.keyword();
        } catch (const std::exception& e) {
            ADD_FAILURE() << reader.name << ": " << e.what();
            return "exception";
        }
        return "";
    }
    std::string run(const Reader& reader, const std::string& bytes) {
        ScriptedUi ui;
        SpectrumRecord record;
        return run(reader, bytes, ui, record);
    }
};

TEST_F(Hostile, EveryReaderSurvivesBrokenInput) {
    std::mt19937 random(7);
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    const std::string inputs[] = {
        "",
        std::string(1, '\0'),
        std::string(1000, '\0'),
        garbage,
        "[Data->]\n1 2\n3",           // cut off in the data
        "[<-Data]\n[Data->]\n1 2\n",  // markers in the wrong order
        "[SpectrumLines->]\n;;;;;;;\n*\n?\n[<-SpectrumLines]\n[Data->]\n1 1\n[<-Data]\n",
        "[DatabaseLines->]\n;\n[<-DatabaseLines]\n[Data->]\n2 2\n[<-Data]\n",
        "1e999 1\n",
        "1 1e999\n",
        "nan 1\n",
        "1 nan\n",
        "- -\n",
        ".. ..\n",
        "-\n",
        "..\n",
        "1\0 2\n3 4\n",
        "0 0 0 2\n",
        "400 1.00 5\n",
        "400 1.00 5\n401 1.00\n",
        "1 1.00 1\n1 99999999999 1 1\n",
        std::string("\x00\x00\x80\x7f\x00\x00\xc0\x7f", 8),  // +inf, NaN
        std::string(10, '\x41'),                             // odd length as binary
    };
    for (const Reader& reader : kReaders)
        for (const std::string& input : inputs) run(reader, input);
}

TEST_F(Hostile, TextUnderBinaryNameAndBinaryUnderTextName) {
    std::mt19937 random(11);
    std::string garbage(1 << 16, '\0');
    for (char& c : garbage) c = static_cast<char>(random() % 256);
    EXPECT_EQ(run(kReaders[1], garbage), "UnknownFormat");  // ascii: the character check
    EXPECT_EQ(run(kReaders[0], garbage), "UnknownFormat");  // native: no markers
}

TEST_F(Hostile, TenMegabyteLines) {
    const std::size_t size = 10u << 20;
    // One number of ten million digits: beyond the float range as x.
    EXPECT_EQ(run(kReaders[2], std::string(size, '7') + " 1\n"), "CancelOpenFile");
    EXPECT_EQ(run(kReaders[0], "[Data->]\n" + std::string(size, '7') + " 1\n[<-Data]\n"),
              "CancelOpenFile");
    // A line full of markers: both data markers on one line, an empty data section.
    std::string markers;
    while (markers.size() < size) markers += "[Data->][<-Data][SpectrumLines->]";
    EXPECT_EQ(run(kReaders[0], "\n" + markers + "\n"), "NullFile");
    // As y it becomes the last valid y (0 here).
    {
        ScriptedUi ui;
        SpectrumRecord record;
        EXPECT_EQ(run(kReaders[3], std::string(size, '9') + "\n", ui, record), "");
        ASSERT_EQ(record.points.size(), 1u);
        EXPECT_EQ(record.points[0].y, 0.0f);
    }
    // Five million blank-separated fields: the track dialog offers them all, and the
    // scripted user cancels.
    std::string fields;
    fields.reserve(size);
    while (fields.size() < size) fields += "1 ";
    {
        ScriptedUi ui;
        SpectrumRecord record;
        EXPECT_EQ(run(kReaders[1], fields + "\n", ui, record), "CancelOpenFile");
        ASSERT_EQ(ui.trackCalls.size(), 1u);
        EXPECT_EQ(ui.trackCalls[0].count, static_cast<int>(size / 2 - 1));
    }
    // A ten-megabyte title trailer keeps to the title's length.
    {
        ScriptedUi ui;
        SpectrumRecord record;
        std::string bytes = lumtest::floatBytes({3, 1, 2, 1e9f});
        bytes += std::string(size, 'w');
        EXPECT_EQ(run(kReaders[6], bytes, ui, record), "");
        EXPECT_LE(record.plotInfo.title.size(), SPlotInfo::kTitleMax);
        EXPECT_EQ(record.plotInfo.title.substr(0, 26), std::string(25, 'w') + " ");
    }
}

TEST_F(Hostile, OddNumbers) {
    // Native data lines are not character-checked: "nan" as x is out of range, "-" and
    // ".." read as 0, "1e999" as y is replaced by the last valid y.
    ScriptedUi ui;
    SpectrumRecord record;
    EXPECT_EQ(run(kReaders[0], "[Data->]\n1 1\nnan 2\n[<-Data]\n", ui, record), "CancelOpenFile");
    EXPECT_EQ(run(kReaders[0], "[Data->]\n- 4\n.. 5\n1 1e999\n2 -\n[<-Data]\n", ui, record), "");
    ASSERT_EQ(record.points.size(), 3u);
    EXPECT_EQ(record.points[0], (TPointF{0.0f, 4.0f}));  // the ".." point has the same x and goes
    // The dropped ".." point's y 5 was still the last valid one.
    EXPECT_EQ(record.points[1], (TPointF{1.0f, 5.0f}));
    EXPECT_EQ(record.points[2], (TPointF{2.0f, 0.0f}));
    // In ASCII files letters inside the first ten lines are refused before any number.
    EXPECT_EQ(run(kReaders[2], "1 nan\n"), "UnknownFormat");
    EXPECT_EQ(run(kReaders[2], "1e999 1\n"), "CancelOpenFile");
}

}  // namespace
