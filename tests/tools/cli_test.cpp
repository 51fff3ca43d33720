// lumora-cli end to end: the built program run on small generated spectra (and on the
// bundled samples when the build has them), checking exit codes, the CSV and JSON columns,
// failing files among good ones, the reader choice options and --config.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "lumcore/IniFile.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> f;
    std::string cur;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') cur += '"', ++i;
            else if (c == '"') quoted = false;
            else cur += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            f.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    f.push_back(cur);
    return f;
}

// Spectral lines of the sample database's Fe I list, put on a noisy flat base.
const double kFeLines[] = {371.9935, 373.4864, 374.5561, 385.9911};

std::string syntheticSpectrum(unsigned seed, int points, double from, double step, double scale = 1.0) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 2.0);
    std::string text;
    const double heights[] = {1000, 800, 500, 700};
    for (int i = 0; i < points; ++i) {
        const double x = from + i * step;
        double y = 100 + noise(rng);
        for (int k = 0; k < 4; ++k) y += scale * heights[k] * std::exp(-std::pow((x - kFeLines[k]) / 0.03, 2));
        char line[64];
        std::snprintf(line, sizeof line, "%.4f %.3f\n", x, y);
        text += line;
    }
    return text;
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) /
               ("lumora_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        writeFile(dir_ / "fe.txt", syntheticSpectrum(1, 4096, 360.0, 0.01));
        writeFile(dir_ / "fe2.txt", syntheticSpectrum(2, 4096, 360.0, 0.01, 0.5));
        writeFile(dir_ / "y.txt", "12\n15\n11\n14\n13\n12\n16\n10\n9\n");
        std::string multi;
        for (int i = 0; i < 50; ++i)
            multi += std::to_string(400 + i) + " " + std::to_string(i) + " " + std::to_string(2 * i) + " 7\n";
        writeFile(dir_ / "multi.txt", multi);
        writeFile(dir_ / "data.xyz", "12\n15\n11\n14\n13\n12\n16\n10\n9\n");
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs lumora-cli in the test directory; `env` is put in front (for LUMORA_HOME).
    CliRun cli(const std::string& args, const std::string& env = "") const {
        const fs::path errFile = dir_ / "stderr.txt";
        const std::string command = "cd '" + dir_.string() + "' && " + env + " '" LUMORA_PROGRAM_DIR "/lumora-cli' " +
                                    args + " 2>'" + errFile.string() + "'";
        CliRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return run;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
        const int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = readFile(errFile);
        return run;
    }

    fs::path dir_;
};

const char* const kInfoHeader =
    "path,format,formatCode,filterIndex,points,xMin,xMax,yMin,yMax,title,spectrumLines,databaseLines";

}  // namespace

TEST_F(Cli, UsageErrorsEndWithStatusTwoAndHelpWithZero) {
    EXPECT_EQ(cli("").status, 2);
    EXPECT_EQ(cli("frobnicate x.txt").status, 2);
    const CliRun unknown = cli("info --no-such-option fe.txt");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("Unbekannte Option: --no-such-option"), std::string::npos) << unknown.err;
    EXPECT_TRUE(unknown.out.empty());
    EXPECT_EQ(cli("lines").status, 2);                         // no input file
    EXPECT_EQ(cli("lines fe.txt --sg 3,3").status, 2);         // width not above the degree
    EXPECT_EQ(cli("lines fe.txt --fourier 100,5").status, 2);  // K below 8
    EXPECT_EQ(cli("info fe.txt --frame 1").status, 2);         // --frame without --strip
    EXPECT_EQ(cli("info fe.txt --format xml").status, 2);
    EXPECT_EQ(cli("identify fe.txt --elements Unobtainium").status, 2);
    EXPECT_EQ(cli("identify fe.txt --elements Fe --tolerance 0").status, 2);
    EXPECT_EQ(cli("smooth fe.txt -o s.txt").status, 2);  // no filter chosen
    EXPECT_EQ(cli("combine fe.txt fe2.txt --op % -o c.txt").status, 2);
    EXPECT_EQ(cli("dbsearch --elements Fe --from 400 --to 300").status, 2);

    for (const char* command : {"info", "convert", "smooth", "lines", "identify", "dbsearch", "combine", "render"}) {
        const CliRun help = cli(std::string(command) + " --help");
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("Aufruf: lumora-cli ") + command, 0), 0u) << help.out;
    }
    EXPECT_NE(cli("dbsearch --help").out.find(".rtf"), std::string::npos);
    EXPECT_NE(cli("identify --help").out.find("--config"), std::string::npos);
}

TEST_F(Cli, InfoColumnsAndAFailingFileAmongGoodOnes) {
    const CliRun csv = cli("info fe.txt missing.txt y.txt");
    EXPECT_EQ(csv.status, 1);
    const auto lines = splitLines(csv.out);
    ASSERT_EQ(lines.size(), 3u) << csv.out;
    EXPECT_EQ(lines[0], kInfoHeader);
    const auto fe = csvFields(lines[1]);
    ASSERT_EQ(fe.size(), 12u);
    EXPECT_EQ(fe[0], "fe.txt");
    EXPECT_EQ(fe[1], "ASCII-Datei:  X,Y-Werte");
    EXPECT_EQ(fe[2], "2");
    EXPECT_EQ(fe[3], "3");
    EXPECT_EQ(fe[4], "4096");
    EXPECT_EQ(fe[5], "360");
    EXPECT_EQ(fe[10], "0");
    EXPECT_EQ(lines[2], "y.txt,ASCII-Datei:  Y-Werte,3,3,9,1,9,9,16,,0,0");
    EXPECT_NE(csv.err.find("missing.txt: Datei existiert nicht oder der Pfadname hat sich geändert!"),
              std::string::npos) << csv.err;

    const CliRun json = cli("info --format json y.txt missing.txt");
    EXPECT_EQ(json.status, 1);
    const auto objects = splitLines(json.out);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0],
              "{\"path\":\"y.txt\",\"format\":\"ASCII-Datei:  Y-Werte\",\"formatCode\":3,\"filterIndex\":3,"
              "\"points\":9,\"xMin\":1,\"xMax\":9,\"yMin\":9,\"yMax\":16,\"title\":\"\",\"spectrumLines\":0,"
              "\"databaseLines\":0}");
    EXPECT_EQ(objects[1].rfind("{\"path\":\"missing.txt\",\"error\":\"NoFile\",\"message\":\"Datei existiert", 0), 0u)
        << objects[1];

    // Names that need quoting in CSV and escaping in JSON.
    writeFile(dir_ / "a,\"b\".txt", "1\n2\n3\n");
    EXPECT_EQ(splitLines(cli("info 'a,\"b\".txt'").out).at(1).rfind("\"a,\"\"b\"\".txt\",", 0), 0u);
    EXPECT_EQ(cli("info --format json 'a,\"b\".txt'").out.rfind("{\"path\":\"a,\\\"b\\\".txt\",", 0), 0u);

    // A table for people: column titles and a rule under them.
    const CliRun table = cli("info --format table y.txt");
    EXPECT_EQ(table.status, 0);
    const auto rows = splitLines(table.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].rfind("Datei", 0), 0u);
    EXPECT_EQ(rows[1].rfind("-----", 0), 0u);
}

TEST_F(Cli, ChoiceOptionsAnswerTheReaderDialogs) {
    // Three y columns need a track; the message names the option.
    const CliRun none = cli("info multi.txt");
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("--track"), std::string::npos) << none.err;

    const CliRun second = cli("info --format json multi.txt --track 2");
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("\"path\":\"multi.txt #2\""), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("\"yMax\":98"), std::string::npos) << second.out;  // column 3 holds 2 i

    const CliRun outOfRange = cli("info multi.txt --track 4");
    EXPECT_EQ(outOfRange.status, 1);
    EXPECT_NE(outOfRange.err.find("1 bis 3"), std::string::npos) << outOfRange.err;

    // An answer the file does not need is ignored.
    EXPECT_EQ(cli("info y.txt --track 2 --maps 1,1,1,1").status, 0);

    // No format fits the extension: the format dialog is answered by --format-code.
    const CliRun unknown = cli("info data.xyz");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("--format-code"), std::string::npos);
    EXPECT_NE(unknown.err.find("3 = ASCII-Datei:  Y-Werte"), std::string::npos);
    const CliRun chosen = cli("info data.xyz --format-code 3");
    EXPECT_EQ(chosen.status, 0);
    EXPECT_EQ(splitLines(chosen.out).at(1), "data.xyz,ASCII-Datei:  Y-Werte,3,3,9,1,9,9,16,,0,0");
    EXPECT_EQ(cli("info data.xyz --format-code 15").status, 1);

    // The reader's own messages: said once, as the failure when the file does not open,
    // as a warning when it opens anyway.
    writeFile(dir_ / "bigx.txt", "1 5\n1e39 6\n3 7\n");
    const CliRun bigx = cli("info bigx.txt");
    EXPECT_EQ(bigx.status, 1);
    EXPECT_EQ(splitLines(bigx.err).size(), 1u) << bigx.err;
    EXPECT_NE(bigx.err.find("bigx.txt: Die Datei kann nicht ge\xC3\xB6""ffnet werden, weil sie x-Werte"), std::string::npos);
    writeFile(dir_ / "bigy.txt", "1 5\n2 1e39\n3 7\n");
    const CliRun bigy = cli("info bigy.txt");
    EXPECT_EQ(bigy.status, 0);
    EXPECT_NE(bigy.err.find("Warnung: bigy.txt: Die Datei enth\xC3\xA4lt Intensit\xC3\xA4tswerte"), std::string::npos)
        << bigy.err;

    // Data that are not monotonic open with a warning, as the answer "yes" would.
    writeFile(dir_ / "zigzag.txt", "1 5\n3 6\n2 7\n4 8\n");
    const CliRun zigzag = cli("info zigzag.txt");
    EXPECT_EQ(zigzag.status, 0);
    EXPECT_NE(zigzag.err.find("Warnung"), std::string::npos);
    EXPECT_NE(zigzag.err.find("nicht streng monoton"), std::string::npos);
}

TEST_F(Cli, ConvertWritesEveryTypeAndReportsAnUnwritableTarget) {
    const CliRun csv = cli("convert y.txt -o out --type csv");
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(readFile(dir_ / "out.csv").rfind("Wellenl\xE4nge;Intensit\xE4t\n[nm];\n\n1;12\n2;15\n", 0), 0u);
    EXPECT_EQ(cli("convert fe.txt -o copy.lmx").status, 0);
    EXPECT_EQ(cli("convert fe.txt -o y.bin --type bin-y").status, 0);
    EXPECT_EQ(fs::file_size(dir_ / "y.bin"), 4096u * 4u);

    // What was written reads back as the same data.
    const auto original = splitLines(cli("info fe.txt --format csv").out).at(1);
    const auto copied = splitLines(cli("info copy.lmx --format csv").out).at(1);
    auto a = csvFields(original);
    auto b = csvFields(copied);
    EXPECT_EQ(b[2], "1");
    for (int i : {4, 5, 6, 7, 8}) EXPECT_EQ(a[i], b[i]) << i;

    // Every type reads back with its points (the y-only types with x = 1, 2, ...).
    const std::pair<const char*, const char*> types[] = {{"lmx", "t.lmx"}, {"csv", "t.csv"}, {"txt", "t.txt"},
                                                         {"txt-y", "ty.txt"}, {"bin", "t.bin"}, {"bin-y", "ty.bin"}};
    for (const auto& [type, name] : types) {
        ASSERT_EQ(cli(std::string("convert y.txt -o ") + name + " --type " + type).status, 0) << type;
        const CliRun back = cli(std::string("info ") + name + (std::string(type) == "csv" ? " --format-code 2" : ""));
        const auto f = csvFields(splitLines(back.out).at(1));
        EXPECT_EQ(f[4], "9") << type << back.err;
        EXPECT_EQ(f[8], "16") << type;
    }

    const CliRun bad = cli("convert fe.txt -o no/such/dir/x.txt");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Zugriffsrechte"), std::string::npos) << bad.err;
    EXPECT_EQ(splitLines(bad.err).size(), 1u) << bad.err;
    EXPECT_EQ(cli("convert fe.txt -o x.unknown").status, 2);
}

TEST_F(Cli, LinesFindsTheLinesOfEachFile) {
    const CliRun csv = cli("lines fe.txt fe2.txt missing.txt");
    EXPECT_EQ(csv.status, 1);
    const auto rows = splitLines(csv.out);
    ASSERT_EQ(rows.size(), 9u) << csv.out;
    EXPECT_EQ(rows[0], "path,x,y");
    for (std::size_t i = 0; i < 4; ++i) {
        const auto f = csvFields(rows[1 + i]);
        EXPECT_EQ(f[0], "fe.txt");
        EXPECT_NEAR(std::stod(f[1]), kFeLines[i], 0.011) << rows[1 + i];
        EXPECT_EQ(csvFields(rows[5 + i])[0], "fe2.txt");
    }

    const CliRun json = cli("lines --format json fe.txt");
    ASSERT_EQ(json.status, 0);
    EXPECT_EQ(json.out.rfind("{\"path\":\"fe.txt\",\"lines\":[{\"x\":371.99,\"y\":", 0), 0u) << json.out;

    // A given noise level above every line leaves nothing, and that is no failure.
    const CliRun quiet = cli("lines fe.txt --noise 100000");
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out, "path,x,y\n");

    // The optional value of --fourier is taken only when it is a number list, so a file
    // name right after the option stays a file; both spellings give the same run.
    const CliRun spaced = cli("lines --fourier 512,50 fe.txt");
    const CliRun joined = cli("lines fe.txt --fourier=512,50");
    EXPECT_EQ(spaced.status, 0) << spaced.err;
    EXPECT_EQ(spaced.out, joined.out);
    EXPECT_EQ(cli("lines --fourier fe.txt").status, 0);
    EXPECT_EQ(cli("lines --fourier=a,b fe.txt").status, 2);

    // Only the zoomed part is searched; the smoothing filters run before the search.
    const CliRun zoom = cli("lines fe.txt --zoom 380,390 --sg 2,7 --fourier");
    EXPECT_EQ(zoom.status, 0) << zoom.err;
    const auto zrows = splitLines(zoom.out);
    ASSERT_EQ(zrows.size(), 2u) << zoom.out;
    EXPECT_NEAR(std::stod(csvFields(zrows[1])[1]), 385.99, 0.02);
}

TEST_F(Cli, IdentifyNamesTheCandidatesAndMarksTheBestOfEachSpecies) {
    const CliRun csv = cli("identify fe.txt --elements Fe --neutrals");
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto rows = splitLines(csv.out);
    ASSERT_GT(rows.size(), 4u);
    EXPECT_EQ(rows[0], "path,x,y,species,wavelength,value,strength,best");
    bool sawStrongest = false;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto f = csvFields(rows[i]);
        ASSERT_EQ(f.size(), 8u);
        EXPECT_EQ(f[3], "Fe I") << rows[i];  // neutrals only
        if (f[1] == "371.99" && f[4] == "371.9934") {
            sawStrongest = true;
            EXPECT_EQ(f[7], "1");
            EXPECT_EQ(f[6], "42");  // ceiling(1000 * 0.0411)
        }
    }
    EXPECT_TRUE(sawStrongest) << csv.out;

    const CliRun json = cli("identify --format json fe.txt --elements Fe --neutrals --strength f");
    ASSERT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("{\"species\":\"Fe I\",\"wavelength\":371.9934,\"value\":0.0411,\"strength\":0.0411,"
                            "\"best\":true}"),
              std::string::npos) << json.out;

    // A failing file among good ones: the others are still identified, the status is 1.
    const CliRun mixed = cli("identify fe.txt missing.txt fe2.txt --elements Fe --neutrals");
    EXPECT_EQ(mixed.status, 1);
    const auto mixedRows = splitLines(mixed.out);
    EXPECT_EQ(csvFields(mixedRows.at(1))[0], "fe.txt");
    EXPECT_EQ(csvFields(mixedRows.back())[0], "fe2.txt");
    EXPECT_NE(mixed.err.find("missing.txt"), std::string::npos);

    // --best keeps only the strongest candidate of each species.
    const CliRun best = cli("identify fe.txt --elements Fe --neutrals --best");
    const auto bestRows = splitLines(best.out);
    EXPECT_EQ(bestRows.size(), 5u) << best.out;  // header and one Fe I line per found line
    for (std::size_t i = 1; i < bestRows.size(); ++i) EXPECT_EQ(csvFields(bestRows[i])[7], "1");

    // The intensity limits drop the weaker candidates.
    const CliRun strong = cli("identify fe.txt --elements Fe --neutrals --intensity 40,10000");
    for (std::size_t i = 1; i < splitLines(strong.out).size(); ++i) {
        const auto f = csvFields(splitLines(strong.out)[i]);
        if (!f[6].empty()) {
            EXPECT_GE(std::stod(f[6]), 40) << splitLines(strong.out)[i];
        }
    }
}

TEST_F(Cli, IdentifyWithAConfigurationEqualsTheSameSettingsAsOptions) {
    lumcore::IniFile config;
    config.setInt("Element Selection", "Fe", 1);
    config.setInt("Element Selection", "Ar", 1);
    config.setInt("Element Selection", "Neutrals", 1);
    config.setInt("Element Selection", "FirstIons", 1);
    config.setInt("Element Selection", "HigherIons", 0);
    config.setDouble("Search Values", "SearchRange", 0.05);
    config.setInt("Search Values", "IntensityRange", 1);
    config.setDouble("Search Values", "LowerIntensity", 5);
    config.setDouble("Search Values", "UpperIntensity", 5000);
    config.setInt("Search Values", "SGFilter", 1);
    config.setInt("Search Values", "PolynomOrder", 2);
    config.setInt("Search Values", "FilterWidth", 7);
    ASSERT_TRUE(config.save((dir_ / "fe.lmc").string()));

    const CliRun fromFile = cli("identify fe.txt fe2.txt --config fe.lmc");
    const CliRun fromOptions = cli("identify fe.txt fe2.txt --elements Fe,Ar --neutrals --ions --tolerance 0.05 "
                                "--intensity 5,5000 --sg 2,7");
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;
    ASSERT_EQ(fromOptions.status, 0);
    EXPECT_GT(splitLines(fromFile.out).size(), 5u);
    EXPECT_EQ(fromFile.out, fromOptions.out);

    // Options win over the file.
    const CliRun overridden = cli("identify fe.txt fe2.txt --config fe.lmc --tolerance 0.2");
    const CliRun wide = cli("identify fe.txt fe2.txt --elements Fe,Ar --neutrals --ions --tolerance 0.2 "
                         "--intensity 5,5000 --sg 2,7");
    EXPECT_EQ(overridden.out, wide.out);
    EXPECT_NE(overridden.out, fromFile.out);

    EXPECT_EQ(cli("identify fe.txt --config missing.lmc").status, 2);

    // "ZoomData" from a configuration zooms to what the window would show: the whole data.
    config.setInt("Search Values", "ZoomData", 1);
    ASSERT_TRUE(config.save((dir_ / "zoom.lmc").string()));
    EXPECT_EQ(cli("identify fe.txt fe2.txt --config zoom.lmc").out, fromFile.out);
}

TEST_F(Cli, IdentifyingASeriesTogetherEqualsOneFileAtATime) {
    // fe.txt and fe2.txt share their x grid, so their lines sit at equal x: the merged run
    // must hand every line its own candidates back, in the order of the files.
    writeFile(dir_ / "fe3.txt", syntheticSpectrum(3, 4096, 360.0, 0.01, 2.0));
    const CliRun together = cli("identify fe.txt fe2.txt fe3.txt --elements all --neutrals --ions --higher-ions");
    ASSERT_EQ(together.status, 0) << together.err;
    std::string separately = "path,x,y,species,wavelength,value,strength,best\n";
    for (const char* f : {"fe.txt", "fe2.txt", "fe3.txt"}) {
        const CliRun one = cli(std::string("identify ") + f + " --elements all --neutrals --ions --higher-ions");
        ASSERT_EQ(one.status, 0);
        separately += one.out.substr(one.out.find('\n') + 1);
    }
    EXPECT_EQ(together.out, separately);

    // In JSON a failing file keeps its place among the others.
    const CliRun json = cli("identify --format json fe.txt missing.txt fe2.txt --elements Fe");
    EXPECT_EQ(json.status, 1);
    const auto objects = splitLines(json.out);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0].rfind("{\"path\":\"fe.txt\",\"lines\":[", 0), 0u);
    EXPECT_EQ(objects[1].rfind("{\"path\":\"missing.txt\",\"error\":\"NoFile\"", 0), 0u);
    EXPECT_EQ(objects[2].rfind("{\"path\":\"fe2.txt\",\"lines\":[", 0), 0u);
}

TEST_F(Cli, IdentifyWritesNativeFilesThatKeepTheLines) {
    const CliRun run = cli("identify fe.txt fe2.txt --elements Fe --neutrals -o results");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(fs::exists(dir_ / "results" / "fe.lmx"));
    ASSERT_TRUE(fs::exists(dir_ / "results" / "fe2.lmx"));
    const auto info = csvFields(splitLines(cli("info results/fe.lmx").out).at(1));
    EXPECT_EQ(info[10], "4");  // the four found lines went with the spectrum

    // The stored lines identified again without a search give the same candidates (the
    // file keeps a line's intensity to six digits, so y is left out of the comparison).
    const CliRun again = cli("identify results/fe.lmx --no-search --elements Fe --neutrals");
    const CliRun first = cli("identify fe.txt --elements Fe --neutrals");
    auto strip = [](const std::string& text) {
        std::string out;
        for (const auto& l : splitLines(text)) {
            auto f = csvFields(l);
            f[0].clear();
            f[2].clear();
            for (const auto& x : f) out += x + ",";
            out += "\n";
        }
        return out;
    };
    EXPECT_EQ(strip(again.out), strip(first.out));

    const CliRun single = cli("identify fe.txt --elements Fe --neutrals -o one.lmx");
    EXPECT_EQ(single.status, 0);
    EXPECT_TRUE(fs::exists(dir_ / "one.lmx"));
}

TEST_F(Cli, DbsearchListsTheDatabaseAndWritesTheTextReport) {
    const CliRun csv = cli("dbsearch --elements Fe --neutrals --from 371.9 --to 372.1");
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto rows = splitLines(csv.out);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0],
              "wavelength,species,value,strength,lowerEnergy,upperEnergy,lowerState,upperState,lowerJ,upperJ,comment");
    EXPECT_EQ(csvFields(rows[1])[0], "371.9934");
    EXPECT_EQ(csvFields(rows[1])[1], "Fe I");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const double w = std::stod(csvFields(rows[i])[0]);
        EXPECT_GE(w, 371.9);
        EXPECT_LE(w, 372.1);
    }

    const CliRun json = cli("dbsearch --format json --elements Fe --neutrals --ions --from 371.9 --to 372.1 "
                         "--sort wavelength");
    const auto objects = splitLines(json.out);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].rfind("{\"lines\":[{\"wavelength\":371.99344,\"species\":\"Fe I\",\"value\":0.0411,", 0), 0u)
        << objects[0];
    EXPECT_NE(objects[0].find("\"species\":\"Fe II\""), std::string::npos);

    ASSERT_EQ(cli("dbsearch --elements Fe --neutrals --from 371.9 --to 372.1 -o report.txt").status, 0);
    const std::string report = readFile(dir_ / "report.txt");
    EXPECT_EQ(report.rfind("Orvenit Lumora Datenbank\n====", 0), 0u);
    EXPECT_NE(report.find("Untere Wellenl\xE4nge: 371.9 nm\n"), std::string::npos);
    EXPECT_NE(report.find("\n371.9934;Fe I;42;"), std::string::npos) << report;

    const CliRun rtf = cli("dbsearch --elements Fe --from 371.9 --to 372.1 -o report.rtf");
    EXPECT_EQ(rtf.status, 2);
    EXPECT_NE(rtf.err.find("Rich Text"), std::string::npos);

    // Sorted by strength, the strongest first.
    const CliRun byStrength = cli("dbsearch --elements Fe --from 370 --to 375 --sort strength");
    const auto strengthRows = splitLines(byStrength.out);
    ASSERT_GT(strengthRows.size(), 3u);
    for (std::size_t i = 2; i < strengthRows.size(); ++i)
        EXPECT_GE(std::stod(csvFields(strengthRows[i - 1])[3]), std::stod(csvFields(strengthRows[i])[3]));

    // Nothing in range: an empty list, not a failure.
    const CliRun empty = cli("dbsearch --elements Fe --from 1 --to 2 -o none.csv");
    EXPECT_EQ(empty.status, 0);
    EXPECT_NE(readFile(dir_ / "none.csv").find("Es wurden keine Linien gefunden!\n"), std::string::npos);
}

TEST_F(Cli, SmoothAndCombineWriteNewSpectra) {
    const CliRun smooth = cli("smooth fe.txt --sg 2,7 -o smooth.txt");
    ASSERT_EQ(smooth.status, 0) << smooth.err;
    const auto s = csvFields(splitLines(cli("info smooth.txt").out).at(1));
    EXPECT_EQ(s[4], "4096");
    EXPECT_EQ(s[5], "360");  // written with rising x although SmoothData returns them reversed
    EXPECT_LT(std::stod(s[8]), 1100.0);
    EXPECT_EQ(cli("smooth fe.txt --fourier -o f.bin").status, 0);
    EXPECT_EQ(cli("smooth y.txt --sg 2,11 -o f.txt").status, 1);  // wider than the 9 points

    const CliRun diff = cli("combine fe.txt fe.txt --op - -o zero.txt");
    ASSERT_EQ(diff.status, 0) << diff.err;
    const auto z = csvFields(splitLines(cli("info zero.txt").out).at(1));
    EXPECT_EQ(z[7], "0");
    EXPECT_EQ(z[8], "0");
    EXPECT_EQ(cli("combine fe.txt missing.txt --op + -o sum.txt").status, 1);
}

TEST_F(Cli, RenderWritesEveryDiagramFormat) {
    const CliRun png = cli("render fe.txt fe2.txt -o d.png --size 640x480 --grid --identify --elements Fe --neutrals");
    ASSERT_EQ(png.status, 0) << png.err;
    EXPECT_TRUE(png.err.empty()) << png.err;  // no notes of the toolkit on stderr
    const std::string image = readFile(dir_ / "d.png");
    ASSERT_GT(image.size(), 24u);
    EXPECT_EQ(image.substr(1, 3), "PNG");
    // The size sits big-endian at bytes 16 and 20 of the header chunk.
    auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned char>(image[at]) << 24) | (static_cast<unsigned char>(image[at + 1]) << 16) |
               (static_cast<unsigned char>(image[at + 2]) << 8) | static_cast<unsigned char>(image[at + 3]);
    };
    EXPECT_EQ(be32(16), 640);
    EXPECT_EQ(be32(20), 480);

    ASSERT_EQ(cli("render fe.txt -o d.bmp").status, 0);
    EXPECT_EQ(readFile(dir_ / "d.bmp").substr(0, 2), "BM");
    ASSERT_EQ(cli("render fe.txt -o d.pdf --lines").status, 0);
    EXPECT_EQ(readFile(dir_ / "d.pdf").substr(0, 5), "%PDF-");
    ASSERT_EQ(cli("render fe.txt -o d.wmf --identify --elements Fe").status, 0);
    EXPECT_EQ(readFile(dir_ / "d.wmf").substr(0, 4), "\xD7\xCD\xC6\x9A");  // placeable metafile key
    ASSERT_EQ(cli("render fe.txt fe2.txt -o d.wpg --identify --elements Fe").status, 0);
    EXPECT_EQ(readFile(dir_ / "d.wpg").substr(0, 4), "\xFFWPC");
    const CliRun svg = cli("render fe.txt -o d.svg");
    if (svg.status == 0) {
        EXPECT_NE(readFile(dir_ / "d.svg").find("<svg"), std::string::npos);
    }

    EXPECT_EQ(cli("render fe.txt -o d.gif").status, 2);
    EXPECT_EQ(cli("render fe.txt -o d.png --size 10x10").status, 2);
    // A logarithmic axis over limits <= 0 is the drawing error of the program.
    writeFile(dir_ / "neg.txt", "-5 1\n-4 2\n-3 3\n");
    const CliRun logx = cli("render neg.txt -o n.png --log-x");
    EXPECT_EQ(logx.status, 1);
    EXPECT_NE(logx.err.find("Logarithmische Darstellung der x-Achse"), std::string::npos) << logx.err;
    // A failing file among good ones: the diagram is drawn without it, the status says so.
    const CliRun mixed = cli("render fe.txt missing.txt -o m.png");
    EXPECT_EQ(mixed.status, 1);
    EXPECT_TRUE(fs::exists(dir_ / "m.png"));

    // A write that fails (files limited to a few KiB, as on a full disk) keeps the old file,
    // leaves no temporary file and ends with status 1; so does output to a full stdout.
    for (const char* name : {"old.png", "old.wpg"}) {
        writeFile(dir_ / name, "alt");
        const CliRun full = cli(std::string("render fe.txt --identify --elements Fe -o ") + name,
                                "trap '' XFSZ; ulimit -f 4;");
        EXPECT_EQ(full.status, 1) << name;
        EXPECT_NE(full.err.find("Die Datei konnte nicht geschrieben werden."), std::string::npos) << full.err;
        EXPECT_EQ(readFile(dir_ / name), "alt");
    }
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
    const CliRun stdoutFull = cli("info fe.txt >/dev/full");
    EXPECT_EQ(stdoutFull.status, 1);
    EXPECT_NE(stdoutFull.err.find("Die Standardausgabe konnte nicht geschrieben werden."), std::string::npos);
}

TEST_F(Cli, AMissingOrDamagedDatabaseIsReported) {
    fs::create_directories(dir_ / "empty");
    const CliRun run = cli("identify fe.txt --elements Fe", "LUMORA_HOME='" + (dir_ / "empty").string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Data/"), std::string::npos) << run.err;
    // The file tools do not need the database.
    EXPECT_EQ(cli("info fe.txt", "LUMORA_HOME='" + (dir_ / "empty").string() + "'").status, 0);

    // A damaged species file is named and left out; the result is incomplete: status 1.
    fs::create_directories(dir_ / "damaged");
    fs::copy(fs::path(LUMORA_PROGRAM_DIR) / "Data", dir_ / "damaged/Data", fs::copy_options::recursive);
    fs::resize_file(dir_ / "damaged/Data/Fe_I.lmt", 100);
    const CliRun damaged = cli("identify fe.txt --elements Fe --neutrals --ions",
                               "LUMORA_HOME='" + (dir_ / "damaged").string() + "'");
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("Fe_I.lmt ist beschädigt"), std::string::npos) << damaged.err;
    EXPECT_EQ(damaged.out.find(",Fe I,"), std::string::npos) << damaged.out;
    EXPECT_NE(damaged.out.find(",Fe II,"), std::string::npos) << damaged.out;
}

TEST_F(Cli, BundledSamplesOpenAndIdentify) {
    const fs::path samples = fs::path(LUMORA_PROGRAM_DIR) / "Beispiele";
    if (!fs::is_directory(samples)) GTEST_SKIP() << "no bundled samples in this build";
    std::string files;
    for (const auto& entry : fs::directory_iterator(samples))
        if (entry.is_regular_file() && entry.path().extension() != ".lmc")
            files += " '" + entry.path().string() + "'";
    ASSERT_FALSE(files.empty());
    const CliRun info = cli("info --format json --track 1 --frame 1 --strip 1 --maps 1,1,1,1" + files);
    EXPECT_EQ(info.err.find("Datei existiert nicht"), std::string::npos) << info.err;
    for (const auto& line : splitLines(info.out)) EXPECT_EQ(line.find("\"error\""), std::string::npos) << line;

    // Every sample configuration drives an identification of every sample spectrum.
    const fs::path configs = samples / "Konfigurationen";
    if (!fs::is_directory(configs)) return;
    for (const auto& entry : fs::directory_iterator(configs)) {
        const CliRun run = cli("identify --format json" + files + " --config '" + entry.path().string() + "'");
        EXPECT_EQ(run.status, 0) << entry.path() << run.err;
        EXPECT_NE(run.out.find("\"candidates\":[{"), std::string::npos) << entry.path();
    }
}
