// Hostile and broken input: every reader ends in a keyword or reads something sensible;
// none crashes, hangs or asks for unbounded memory.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "ReadCases.h"
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
    std::vector<std::string> inputs = {garbage, ""};
    std::ifstream list(std::string(LUMORA_TEST_DATA) + "/lumio/data/hostile_inputs.txt");
    for (std::string line; std::getline(list, line);)
        if (!line.empty() && line[0] != '#') inputs.push_back(lumtest::unescape(line));
    ASSERT_EQ(inputs.size(), 23u);
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

}  // namespace
