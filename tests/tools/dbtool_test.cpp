// lumora-dbtool: build -> check -> dump round trip, the faults check and build report, the
// checksum list and what the library does with a damaged file, and the import of NIST line
// lists. The sources of the small database and the NIST exports lie in data/.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ScriptedRunHost.h"
#include "TestFiles.h"
#include "lumdb/ChecksumList.h"
#include "lumdb/Database.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

using lumtest::readFile;
using lumtest::writeFile;

// Writes the lines enciphered, as a database file holds them.
void writeEnciphered(const fs::path& p, std::initializer_list<std::string> lines) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    for (std::string line : lines) {
        EnCryptLine(line);
        out << line << "\r\n";
    }
}

class DbTool : public ::testing::Test {
  protected:
    DbTool() : dir_(fs::temp_directory_path() / ("lumora_dbtool_" + std::to_string(::getpid()))) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy(LUMORA_TEST_DATA "/tools/data/dbsrc", dir_ / "src");
    }
    ~DbTool() override { fs::remove_all(dir_); }

    lumtest::Run tool(const std::string& args) {
        return lumtest::run(LUMORA_PROGRAM_DIR "/lumora-dbtool " + args, dir_);
    }

    std::string src() const { return (dir_ / "src").string(); }
    std::string data() const { return (dir_ / "prog/Data").string(); }

    fs::path dir_;
};

TEST_F(DbTool, BuildCheckDumpRoundTrip) {
    lumtest::Run build = tool("build " + src() + " " + data());
    ASSERT_EQ(build.status, 0) << build.err;
    lumtest::Run check = tool("check " + data());
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.out, "2 elements, 3 species files, 5 records, 0 problems\n");

    // Sorted by wavelength, nine fields, UTF-8 again after the Windows-1252 round trip:
    // data/dbtool_dump.txt holds the dump of Fe_I.lmt, then that of Elements.lmt.
    EXPECT_EQ(
        tool("dump " + data() + "/Fe_I.lmt").out + tool("dump " + data() + "/Elements.lmt").out,
        readFile(LUMORA_TEST_DATA "/tools/data/dbtool_dump.txt"));

    // Stored enciphered: no plain text, no line ends inside lines, Windows-1252 on disk.
    const std::string raw = readFile(data() + "/Fe_I.lmt");
    EXPECT_EQ(raw.find("Fe I"), std::string::npos);
    EXPECT_EQ(raw.find("371.99"), std::string::npos);
    std::string stored = raw.substr(raw.find("\r\n") + 2);
    stored = stored.substr(0, stored.find("\r\n"));
    DeCryptLine(stored, 0);
    EXPECT_EQ(stored, "371.99;0.0411;0;3.332;a 5D;z 5F*;4;5;Resonanzlinie, st\xE4rkste");

    // A dump that cannot reach its destination fails.
    EXPECT_EQ(lumtest::run(LUMORA_PROGRAM_DIR "/lumora-dbtool dump " + data() + "/Fe_I.lmt", dir_,
                           ">/dev/full")
                  .status,
              1);
}

TEST_F(DbTool, BuildAndCheckReportFaults) {
    writeFile(dir_ / "src/Fe_II.csv", "species,Fe II,Fe II\n259.94,strong\n260,0.1,a;b\n");
    writeFile(dir_ / "src/N2.csv", "species,Stickstoff,Molekuel\n337.13,1\n");
    lumtest::Run build = tool("build " + src() + " " + data());
    EXPECT_NE(build.status, 0);
    EXPECT_THAT(build.err, HasSubstr("Fe_II.csv:2: wavelength and value must be numbers"));
    EXPECT_THAT(build.err, HasSubstr("Fe_II.csv:3: field 3 holds ';'"));
    EXPECT_THAT(build.err,
                HasSubstr("N2.csv:1: species row does not contain the element name \"N2\""));
    EXPECT_FALSE(fs::exists(data() + "/Elements.lmt"));

    fs::copy(LUMORA_TEST_DATA "/tools/data/dbsrc", dir_ / "src",
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    ASSERT_EQ(tool("build " + src() + " " + data()).status, 0);
    fs::remove(data() + "/N2.lmt");
    writeEnciphered(data() + "/Fe_II.lmt", {"Fe II;Fe II", "500;0.1", "400;0.1", "oops;0.1"});
    lumtest::Run check = tool("check " + data());
    EXPECT_NE(check.status, 0);
    EXPECT_THAT(check.err, HasSubstr("N2.lmt: missing"));
    EXPECT_THAT(check.err, HasSubstr("Fe_II.lmt:3: records not sorted"));
    EXPECT_THAT(check.err, HasSubstr("Fe_II.lmt:4: wavelength and value must be numbers"));

    // A FIFO (a species file or the checksum list) is refused at once instead of waiting for
    // a writer; so is a folder.
    for (const char* name : {"/Fe_I.lmt", "/Checksums.txt"}) {
        fs::remove(data() + name);
        ASSERT_EQ(::mkfifo((data() + name).c_str(), 0600), 0);
    }
    check = tool("check " + data());
    EXPECT_THAT(check.err, HasSubstr("Fe_I.lmt: is not a regular file"));
    EXPECT_THAT(check.err, HasSubstr("Checksums.txt: is not a regular file"));
    EXPECT_THAT(tool("dump " + data() + "/Fe_I.lmt").err, HasSubstr("is not a regular file"));
    EXPECT_THAT(tool("dump " + data()).err, HasSubstr("is a folder"));
}

// Identifies one line of each species (Fe I, Fe II, N2) and returns the species labels found.
std::string identifyAll(const std::string& programDir, lumtest::ScriptedRunHost& host) {
    TElementArray elements;
    GetElements(programDir, elements);
    TLineArray lines;
    for (const float x : {371.99f, 259.94f, 337.13f}) lines.add(CLine(x, 100.0f));
    SSelectElVal values;
    values.Neutrals = values.FirstIons = true;
    values.SearchRange = 0.02f;
    EXPECT_EQ(LineIdentification(host, programDir + "/Data/", lines, elements, values), 1);
    std::string found;
    for (const CLine& line : lines)
        for (const std::string& label : line.speciesLabels)
            found += label.substr(0, label.rfind(' ')) + "|";
    return found;
}

// A cut, emptied or altered species file is refused by name while the other species still
// identify; `check` finds it too. Without the list the file is read as it is, and a line
// whose numbers do not read is passed over and counted.
TEST_F(DbTool, DamagedSpeciesFileIsRefusedByTheChecksumList) {
    EXPECT_EQ(lumdb::Crc32("123456789"), 0xCBF43926u);  // the check value of this CRC-32
    const std::string prog = (dir_ / "prog").string();
    const std::string fe = data() + "/Fe_I.lmt";
    const std::string refusal =
        fe + " ist beschädigt (Größe oder Prüfsumme stimmt nicht) und wird nicht verwendet.";
    for (const char* damage : {"cut", "emptied", "flipped"}) {
        ASSERT_EQ(tool("build " + src() + " " + data()).status, 0);
        const std::string listed = readFile(data() + "/" + lumdb::kChecksumListName);
        EXPECT_THAT(listed, HasSubstr("Fe_I.lmt " + std::to_string(fs::file_size(fe)) + " "));
        std::string bytes = readFile(fe);
        if (damage == std::string("cut")) bytes.resize(bytes.size() - 20);
        if (damage == std::string("emptied")) bytes.clear();
        if (damage == std::string("flipped")) bytes[bytes.size() / 2] ^= 0x04;
        writeFile(fe, bytes);
        lumtest::ScriptedRunHost host;
        EXPECT_EQ(identifyAll(prog, host), "Fe II|N2|") << damage;
        ASSERT_EQ(host.messages.size(), 1u) << damage;
        EXPECT_EQ(host.messages[0].text, "Die Datenbankdatei " + refusal);
        const lumtest::Run check = tool("check " + data());
        EXPECT_NE(check.status, 0);
        EXPECT_THAT(check.err, HasSubstr("Fe_I.lmt: damaged"));
    }
    fs::remove(data() + "/" + lumdb::kChecksumListName);
    writeEnciphered(fe, {"Eisen;Fe I", "371.99;0.0411", "371.98;0,04x", "372.00x;0.1"});
    lumtest::ScriptedRunHost host;
    EXPECT_EQ(identifyAll(prog, host), "Fe II|N2|Fe I|");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "2 Zeilen der Datenbankdatei " + fe +
                                         " konnten nicht gelesen werden und werden übergangen.");
}

// data/nist_<species>.csv: what the import makes of the exports beside them. A line with f
// takes it; with only an intensity, the intensity scaled to the strongest line of the list
// (80000), marked; with only A, f from A; with neither, it is dropped. Tab-separated exports
// name their columns the same way.
TEST_F(DbTool, ImportsNistExportsWithFValuesOrRelativeIntensities) {
    for (const auto& [source, species, name] : {std::tuple{"nist_na_export.csv", "Na I", "Na_I"},
                                                {"nist_ar_export.txt", "Ar I", "Ar_I"}}) {
        const std::string folder = LUMORA_TEST_DATA "/tools/data/";
        const fs::path out = dir_ / (name + std::string(".csv"));
        const lumtest::Run import =
            tool("import-nist " + folder + source + " \"" + species + "\" " + out.string());
        ASSERT_EQ(import.status, 0) << import.err;
        EXPECT_EQ(readFile(out), readFile(folder + "nist_" + name + ".csv"));
    }
    // f = 1.4992e-16 * (5895.924 A)^2 * g_k/g_i * A = 0.6400 (g_k = 4, g_i = 2).
    const std::string na = readFile(dir_ / "Na_I.csv");
    EXPECT_NEAR(std::stod(na.substr(na.find("\n589.59240,") + 11)),
                1.4992e-16 * 5895.924 * 5895.924 * 4 / 2 * 6.14e7, 0.002);

    // The imported species goes into the database without further work.
    fs::copy(dir_ / "Na_I.csv", dir_ / "src/Na_I.csv");
    writeFile(dir_ / "src/Elements.csv", "Na,*A,255,160,0,Na_I\n");
    ASSERT_EQ(tool("build " + src() + " " + data()).status, 0);
    EXPECT_EQ(tool("check " + data()).status, 0);
}

}  // namespace
