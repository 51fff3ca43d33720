// Hostile and broken input: every reader ends in a keyword or reads something sensible;
// none crashes, hangs or asks for unbounded memory.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <set>

#include "FileBytes.h"
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
    {"native", readNative},     {"ascii", readAscii},     {"asciiXY", readAsciiXY},
    {"asciiY", readAsciiY},     {"binary", readBinary},   {"binaryXY", readBinaryXY},
    {"binaryY", readBinaryY},   {"ocean", readOceanText}, {"grams", readGrams},
    {"gramsOld", readGramsOld},
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
    ASSERT_EQ(inputs.size(), 26u);
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

// Another program may shorten a file while it is parsed: the bytes a reader holds stay
// those it read (a file mapped into memory would kill the process when it touched them).
TEST_F(Hostile, FileShortenedWhileParsedKeepsItsBytes) {
    std::string text;
    for (int i = 0; text.size() < (std::size_t{3} << 20); ++i) text += std::to_string(i) + " 1\n";
    const std::string path = dir.write("shrinks.txt", text);
    const FileBytes bytes = readWholeFile(path);
    std::filesystem::resize_file(path, 0);
    EXPECT_TRUE(bytes.view() == text);
}

// Only regular files are read: a folder is named as one, a FIFO or device is refused before
// it is opened (a FIFO without a writer would block the open), and a file beyond what the
// point limit could take is refused before a byte of it is read.
TEST_F(Hostile, OnlyRegularFilesOfBoundedSizeAreRead) {
    const std::string fifo = dir.path("pipe.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = dir.path("huge.txt");
    std::ofstream(huge).put('1');
    std::filesystem::resize_file(huge, 4'000'000'001);  // sparse: takes no disk space
    const struct {
        std::string path, keyword, message;
    } cases[] = {{dir.path(""), "CancelOpenFile", "Ordner"},
                 {fifo, "CancelOpenFile", "keine gewöhnliche Datei"},
                 {"/dev/zero", "CancelOpenFile", "keine gewöhnliche Datei"},
                 {huge, "DataNumberOverflow", ""},
                 {dir.path("missing.txt"), "NoFile", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ScriptedUi ui;
        SpectrumRecord record;
        EXPECT_EQ(lumtest::readSpectrum(ui, record, c.path).keyword, c.keyword);
        EXPECT_EQ(ui.formatCalls.size(), 0u);
        ASSERT_EQ(ui.messages.size(), c.message.empty() ? 0u : 1u);
        if (!c.message.empty()) {
            EXPECT_NE(ui.messages[0].text.find(c.message), std::string::npos);
        }
    }
    // Every reader bounds the file it opened as well: it may have grown since the check.
    for (const Reader& reader : kReaders) {
        ScriptedUi ui;
        SpectrumRecord record;
        record.fileName = huge;
        ReadContext ctx{ui, record};
        try {
            reader.fn(ctx);
            ADD_FAILURE() << reader.name << " read a file beyond the bound";
        } catch (const lumio::Outcome& e) {
            EXPECT_EQ(e.keyword(), "DataNumberOverflow") << reader.name;
        }
    }
}

}  // namespace
