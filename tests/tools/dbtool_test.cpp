// lumora-dbtool: build -> check -> dump round trip, the faults check and build report, the
// checksum list and what the library does with a damaged file, and the import of NIST line
// lists. The sources of the small database and the NIST exports lie in data/.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScriptedRunHost.h"
#include "lumdb/ChecksumList.h"
#include "lumdb/Database.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

class DbTool : public ::testing::Test {
  protected:
    DbTool() : dir_(fs::temp_directory_path() / ("lumora_dbtool_" + std::to_string(::getpid()))) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        fs::copy(LUMORA_TEST_DATA "/tools/data/dbsrc", dir_ / "src");
    }
    ~DbTool() override { fs::remove_all(dir_); }

    ToolRun tool(const std::string& args) {
        const fs::path out = dir_ / "stdout.txt", err = dir_ / "stderr.txt";
        const std::string command = std::string(LUMORA_PROGRAM_DIR) + "/lumora-dbtool " + args +
                                    " >" + out.string() + " 2>" + err.string();
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(out), readText(err)};
    }

    std::string src() const { return (dir_ / "src").string(); }
    std::string data() const { return (dir_ / "prog/Data").string(); }

    fs::path dir_;
};

TEST_F(DbTool, BuildCheckDumpRoundTrip) {
    ToolRun build = tool("build " + src() + " " + data());
    ASSERT_EQ(build.status, 0) << build.err;
    ToolRun check = tool("check " + data());
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_EQ(check.out, "2 elements, 3 species files, 5 records, 0 problems\n");

    // Sorted by wavelength, nine fields, UTF-8 again after the Windows-1252 round trip.
    ToolRun dump = tool("dump " + data() + "/Fe_I.lmt");
    ASSERT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out,
              "Eisen;Fe I\n"
              "371.99;0.0411;0;3.332;a 5D;z 5F*;4;5;Resonanzlinie, stärkste\n"
              "400.0;0.5;;;;;;;\n"
              "404.58;0.0863;1.485;4.549;a 5F;y 3F*;4;3;\n");
    EXPECT_EQ(tool("dump " + data() + "/Elements.lmt").out,
              "Fe;*A;255;0;0;Fe_I;Fe_II\nN2;*M;0;0;255;N2\n");

    // Stored enciphered: no plain text, no line ends inside lines, Windows-1252 on disk.
    const std::string raw = readText(data() + "/Fe_I.lmt");
    EXPECT_EQ(raw.find("Fe I"), std::string::npos);
    EXPECT_EQ(raw.find("371.99"), std::string::npos);
    std::string stored = raw.substr(raw.find("\r\n") + 2);
    stored = stored.substr(0, stored.find("\r\n"));
    DeCryptLine(stored, 0);
    EXPECT_EQ(stored, "371.99;0.0411;0;3.332;a 5D;z 5F*;4;5;Resonanzlinie, st\xE4rkste");

    // The library reads what the tool wrote.
    TElementArray elements;
    GetElements((dir_ / "prog").string(), elements);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].files, (TStringArray{"Fe_I.lmt", "Fe_II.lmt"}));
    EXPECT_EQ(elements[1].color, MakeColor(0, 0, 255));
}

TEST_F(DbTool, BuildAndCheckReportFaults) {
    writeText(dir_ / "src/Fe_II.csv", "species,Fe II,Fe II\n259.94,strong\n260,0.1,a;b\n");
    writeText(dir_ / "src/N2.csv", "species,Stickstoff,Molekuel\n337.13,1\n");
    ToolRun build = tool("build " + src() + " " + data());
    EXPECT_NE(build.status, 0);
    EXPECT_NE(build.err.find("Fe_II.csv:2: wavelength and value must be numbers"),
              std::string::npos)
        << build.err;
    EXPECT_NE(build.err.find("Fe_II.csv:3: field 3 holds ';'"), std::string::npos) << build.err;
    EXPECT_NE(build.err.find("N2.csv:1: species row does not contain the element name \"N2\""),
              std::string::npos)
        << build.err;
    EXPECT_FALSE(fs::exists(data() + "/Elements.lmt"));

    fs::copy(LUMORA_TEST_DATA "/tools/data/dbsrc", dir_ / "src",
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    ASSERT_EQ(tool("build " + src() + " " + data()).status, 0);
    fs::remove(data() + "/N2.lmt");
    std::ofstream unsorted(data() + "/Fe_II.lmt", std::ios::binary | std::ios::trunc);
    for (std::string line : {"Fe II;Fe II", "500;0.1", "400;0.1", "oops;0.1"}) {
        EnCryptLine(line);
        unsorted << line << "\r\n";
    }
    unsorted.close();
    ToolRun check = tool("check " + data());
    EXPECT_NE(check.status, 0);
    EXPECT_NE(check.err.find("N2.lmt: missing"), std::string::npos) << check.err;
    EXPECT_NE(check.err.find("Fe_II.lmt:3: records not sorted"), std::string::npos) << check.err;
    EXPECT_NE(check.err.find("Fe_II.lmt:4: wavelength and value must be numbers"),
              std::string::npos);
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
        const std::string listed = readText(data() + "/" + lumdb::kChecksumListName);
        EXPECT_NE(listed.find("Fe_I.lmt " + std::to_string(fs::file_size(fe)) + " "),
                  std::string::npos)
            << listed;
        std::string bytes = readText(fe);
        if (damage == std::string("cut")) bytes.resize(bytes.size() - 20);
        if (damage == std::string("emptied")) bytes.clear();
        if (damage == std::string("flipped")) bytes[bytes.size() / 2] ^= 0x04;
        writeText(fe, bytes);
        lumtest::ScriptedRunHost host;
        EXPECT_EQ(identifyAll(prog, host), "Fe II|N2|") << damage;
        ASSERT_EQ(host.messages.size(), 1u) << damage;
        EXPECT_EQ(host.messages[0].text, "Die Datenbankdatei " + refusal);
        const ToolRun check = tool("check " + data());
        EXPECT_NE(check.status, 0);
        EXPECT_NE(check.err.find("Fe_I.lmt: damaged"), std::string::npos) << check.err;
    }
    fs::remove(data() + "/" + lumdb::kChecksumListName);
    std::ofstream stored(fe, std::ios::binary | std::ios::trunc);
    for (std::string line : {"Eisen;Fe I", "371.99;0.0411", "371.98;0,04x", "372.00x;0.1"}) {
        EnCryptLine(line);
        stored << line << "\r\n";
    }
    stored.close();
    lumtest::ScriptedRunHost host;
    EXPECT_EQ(identifyAll(prog, host), "Fe II|N2|Fe I|");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "2 Zeilen der Datenbankdatei " + fe +
                                         " konnten nicht gelesen werden und werden übergangen.");
}

TEST_F(DbTool, ImportsNistExportsWithFValuesOrRelativeIntensities) {
    const ToolRun import =
        tool("import-nist " LUMORA_TEST_DATA "/tools/data/nist_na_export.csv \"Na I\" " +
             (dir_ / "src/Na_I.csv").string());
    ASSERT_EQ(import.status, 0) << import.err;
    std::istringstream lines(readText(dir_ / "src/Na_I.csv"));
    std::string species, columns, d2, uv, d1, extra;
    for (std::string* line : {&species, &columns, &d2, &uv, &d1}) std::getline(lines, *line);
    EXPECT_EQ(species, "species,Na I,Na I");
    EXPECT_EQ(d2, "588.99510,0.641,0.00000,2.10443,2p6.3s 2S,2p6.3p 2P*,0.5,1.5,");
    // Only an intensity: scaled to the strongest line of the list (80000), marked.
    EXPECT_EQ(uv, "330.23690,0.005,,,,,,,rel. Int. NIST");
    // Only A: f = 1.4992e-16 * (5895.924 A)^2 * g_k/g_i * A = 0.6400 (g_k = 4, g_i = 2).
    EXPECT_EQ(d1.substr(0, 19), "589.59240,0.64,0.00");
    EXPECT_NEAR(std::stod(d1.substr(10, 6)), 1.4992e-16 * 5895.924 * 5895.924 * 4 / 2 * 6.14e7,
                0.002);
    // Neither f nor intensity: dropped.
    EXPECT_FALSE(std::getline(lines, extra));

    // The imported species goes into the database without further work.
    writeText(dir_ / "src/Elements.csv", "Na,*A,255,160,0,Na_I\n");
    ASSERT_EQ(tool("build " + src() + " " + data()).status, 0);
    EXPECT_EQ(tool("check " + data()).status, 0);

    // Tab-separated exports name their columns the same way.
    ASSERT_EQ(tool("import-nist " LUMORA_TEST_DATA "/tools/data/nist_ar_export.txt \"Ar I\" " +
                   (dir_ / "Ar_I.csv").string())
                  .status,
              0);
    EXPECT_NE(readText(dir_ / "Ar_I.csv")
                  .find("811.53110,0.46,11.54835,13.07572,3s2.3p5.(2P*<3/2>).4s 2[3/2]*,"
                        "3s2.3p5.(2P*<3/2>).4p 2[5/2],2,3,\n"),
              std::string::npos)
        << readText(dir_ / "Ar_I.csv");
}

}  // namespace
