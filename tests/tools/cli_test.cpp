// lumora-cli end to end: the built program run on small generated spectra (and on the
// bundled samples when the build has them). The single runs with their exit status and
// output checks (also against another run's output) are the rows of data/cli_cases.tsv; the
// tests here compare runs with each other or check every row of an output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace fs = std::filesystem;

namespace {

using lumtest::readFile;
using lumtest::split;
using CliRun = lumtest::Run;

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> f(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            f.back() += '"', ++i;
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            f.emplace_back();
        else
            f.back() += c;
    }
    return f;
}

// Spectral lines of the sample database's Fe I list, put on a noisy flat base.
const double kFeLines[] = {371.9935, 373.4864, 374.5561, 385.9911};

std::string syntheticSpectrum(unsigned seed, double scale) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 2.0);
    const double heights[] = {1000, 800, 500, 700};
    std::string text;
    for (int i = 0; i < 4096; ++i) {
        const double x = 360.0 + i * 0.01;
        double y = 100 + noise(rng);
        for (int k = 0; k < 4; ++k)
            y += scale * heights[k] * std::exp(-std::pow((x - kFeLines[k]) / 0.03, 2));
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
               ("lumora_cli_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "empty");
        // Small inputs (y only, a dialog extension, four columns, a comma and quotes in the
        // name, huge x or y, unsorted or negative x, files to be overwritten) lie in data/cli.
        fs::copy(LUMORA_TEST_DATA "/tools/data/cli", dir_);
        lumtest::writeFile(dir_ / "fe.txt", syntheticSpectrum(1, 1.0));
        lumtest::writeFile(dir_ / "fe2.txt", syntheticSpectrum(2, 0.5));
        lumtest::writeFile(dir_ / "fe3.txt", syntheticSpectrum(3, 2.0));
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs lumora-cli in the test directory; `prefix` is shell text put in front, and
    // redirections among `args` come after (and so win over) those to the output files.
    CliRun cli(const std::string& args, const std::string& prefix = "") const {
        return lumtest::run(
            "cd '" + dir_.string() + "' && " + prefix + " '" LUMORA_PROGRAM_DIR "/lumora-cli'",
            dir_, args);
    }

    fs::path dir_;
};

std::string unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        if (c == 'n')
            out += '\n';
        else if (c == 't')
            out += '\t';
        else if (c == '\\')
            out += '\\';
        else if (c == 'x')
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16)), i += 2;
        else
            out += '\\', out += c;  // a regular expression's own escape
    }
    return out;
}

// Checks `text` against the ' && '-joined checks of a case table cell; each one must be
// found after the start of the one before it. `rerun` gives the output of other arguments.
// Returns what failed, or "".
std::string verify(const std::string& text, const std::string& cell,
                   const std::function<std::string(const std::string&)>& rerun = {}) {
    std::size_t from = 0;
    for (std::size_t start = 0; start <= cell.size();) {
        std::size_t end = cell.find(" && ", start);
        if (end == std::string::npos) end = cell.size();
        const std::string check = cell.substr(start, end - start);
        start = end + 4;
        if (check.empty()) continue;
        const std::string arg = unescape(check.substr(1));
        std::size_t at = std::string::npos;
        std::smatch m;
        const std::string rest = text.substr(std::min(from, text.size()));
        if (check[0] == '=')
            at = text == arg ? 0 : at;
        else if (check[0] == '^')
            at = text.rfind(arg, 0);
        else if (check[0] == '!')
            at = text.find(arg) == std::string::npos ? from : at;
        else if (check[0] == '#')
            at = text.size() == std::stoul(arg) ? from : at;
        else if (check[0] == '@')
            at = text == rerun(arg) ? from : at;
        else if (check[0] == '~')
            at = std::regex_search(rest, m, std::regex(arg)) ? from + m.position(0) : at;
        else
            at = text.find(unescape(check), from);
        if (at == std::string::npos) return "no match for '" + check + "'";
        from = at + (check[0] == '!' || check[0] == '#' || check[0] == '@' ? 0 : 1);
    }
    return "";
}

}  // namespace

TEST_F(Cli, CaseTable) {
    fs::create_directories(dir_ / "damaged/Data");
    fs::copy(fs::path(LUMORA_PROGRAM_DIR) / "Data", dir_ / "damaged/Data",
             fs::copy_options::recursive);
    fs::resize_file(dir_ / "damaged/Data/Fe_I.lmt", 100);
    const auto rows = lumtest::tableRows(LUMORA_TEST_DATA "/tools/data/cli_cases.tsv");
    EXPECT_GT(rows.size(), 90u);
    for (const std::string& line : rows) {
        auto f = split(line, '\t');
        f.resize(7);
        for (auto& cell : f)
            for (std::size_t at; (at = cell.find("@DIR@")) != std::string::npos;)
                cell.replace(at, 5, dir_.string());
        const CliRun run = cli(f[0], f[6]);
        EXPECT_EQ(run.status, std::stoi(f[1])) << f[0] << "\n" << run.err;
        const auto rerun = [&](const std::string& args) { return cli(args).out; };
        EXPECT_EQ(verify(run.out, f[2], rerun), "") << f[0] << "\n" << run.out;
        EXPECT_EQ(verify(run.err, f[3]), "") << f[0] << "\n" << run.err;
        if (!f[4].empty()) {
            EXPECT_TRUE(fs::exists(dir_ / f[4])) << f[0];
            EXPECT_EQ(verify(readFile(dir_ / f[4]), f[5]), "") << f[0] << ": " << f[4];
        }
    }
    // The failed writes left no temporary file behind.
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << entry.path();
}

TEST_F(Cli, ConvertedAndSmoothedDataReadBackAndLinesAreFound) {
    ASSERT_EQ(cli("convert fe.txt -o copy.lmx").status, 0);
    const auto a = csvFields(split(cli("info fe.txt").out, '\n').at(1));
    const auto b = csvFields(split(cli("info copy.lmx").out, '\n').at(1));
    EXPECT_EQ(b[2], "1");
    for (int i : {4, 5, 6, 7, 8}) EXPECT_EQ(a[i], b[i]) << i;

    const auto rows = split(cli("lines fe.txt fe2.txt").out, '\n');
    ASSERT_EQ(rows.size(), 9u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(csvFields(rows[1 + i])[0], i < 4 ? "fe.txt" : "fe2.txt");
        EXPECT_NEAR(std::stod(csvFields(rows[1 + i])[1]), kFeLines[i % 4], 0.011) << rows[1 + i];
    }
}

TEST_F(Cli, EveryRowKeepsTheLimits) {
    // Candidates below the lower intensity limit are dropped.
    const auto strong =
        split(cli("identify fe.txt --elements Fe --neutrals --intensity 40,10000").out, '\n');
    ASSERT_GT(strong.size(), 1u);
    for (std::size_t i = 1; i < strong.size(); ++i)
        if (const auto f = csvFields(strong[i]); !f[6].empty()) {
            EXPECT_GE(std::stod(f[6]), 40) << strong[i];
        }
    // Database lines sorted by strength come strongest first.
    const auto sorted =
        split(cli("dbsearch --elements Fe --from 370 --to 375 --sort strength").out, '\n');
    ASSERT_GT(sorted.size(), 3u);
    for (std::size_t i = 2; i < sorted.size(); ++i)
        EXPECT_GE(std::stod(csvFields(sorted[i - 1])[3]), std::stod(csvFields(sorted[i])[3]));
}

TEST_F(Cli, IdentifyRunsThatMustAgree) {
    // The files share their x grid, so their lines sit at equal x: the merged run must hand
    // every line its own candidates back, in the order of the files.
    const std::string all = " --elements all --neutrals --ions --higher-ions";
    const CliRun together = cli("identify fe.txt fe2.txt fe3.txt" + all);
    ASSERT_EQ(together.status, 0) << together.err;
    std::string separately = "path,x,y,species,wavelength,value,strength,best\n";
    for (const char* f : {"fe.txt", "fe2.txt", "fe3.txt"}) {
        const std::string one = cli(std::string("identify ") + f + all).out;
        separately += one.substr(one.find('\n') + 1);
    }
    EXPECT_EQ(together.out, separately);

    // Lines stored in a native file, identified again without a search, give the same
    // candidates (the file keeps a line's intensity to six digits, so y is left out).
    ASSERT_EQ(cli("identify fe.txt fe2.txt --elements Fe --neutrals -o results").status, 0);
    const auto strip = [](const std::string& text) {
        return std::regex_replace(text, std::regex("(^|\n)[^,\n]*,([^,\n]*),[^,\n]*,"), "$1,$2,,");
    };
    EXPECT_EQ(strip(cli("identify results/fe.lmx --no-search --elements Fe --neutrals").out),
              strip(cli("identify fe.txt --elements Fe --neutrals").out));
}

TEST_F(Cli, BundledSamplesOpenAndIdentify) {
    const fs::path samples = fs::path(LUMORA_PROGRAM_DIR) / "Beispiele";
    if (!fs::is_directory(samples)) GTEST_SKIP() << "no bundled samples in this build";
    std::string files;
    for (const auto& entry : fs::directory_iterator(samples))
        if (entry.is_regular_file() && entry.path().extension() != ".lmc")
            files += " '" + entry.path().string() + "'";
    ASSERT_FALSE(files.empty());
    const CliRun info =
        cli("info --format json --track 1 --frame 1 --strip 1 --maps 1,1,1,1" + files);
    EXPECT_EQ(info.err.find("Datei existiert nicht"), std::string::npos) << info.err;
    EXPECT_EQ(info.out.find("\"error\""), std::string::npos) << info.out;
    // Every sample configuration drives an identification of every sample spectrum.
    if (!fs::is_directory(samples / "Konfigurationen")) return;
    for (const auto& entry : fs::directory_iterator(samples / "Konfigurationen")) {
        const CliRun run =
            cli("identify --format json" + files + " --config '" + entry.path().string() + "'");
        EXPECT_EQ(run.status, 0) << entry.path() << run.err;
        EXPECT_NE(run.out.find("\"candidates\":[{"), std::string::npos) << entry.path();
    }
}

// The mercury and krypton lamp samples are stored in wavenumbers and say so; read by their
// values alone they would look like pixel numbers and Ångström.
TEST_F(Cli, DeclaredWavenumbersWinOverTheValues) {
    const fs::path spc = fs::path(LUMORA_SHARED) / "samples/spc";
    if (!fs::exists(spc / "MERC.SPC")) GTEST_SKIP() << "no shared samples at " << spc;
    const CliRun info = cli("info --format json '" + (spc / "MERC.SPC").string() + "' '" +
                            (spc / "KRY3.SPC").string() + "'");
    EXPECT_TRUE(std::regex_match(info.out, std::regex(R"((.*"xRecognised":"wavenumber".*\n){2})")))
        << info.out;
}

// The shift estimate on real instrument spectra, the same settings for all: reported, not
// pinned (what is right for them is not known exactly); only the form and the range are
// checked.
TEST_F(Cli, ElementsReportsTheShiftOfRealSamples) {
    const fs::path samples = fs::path(LUMORA_SHARED) / "samples" / "ascii";
    if (!fs::is_directory(samples)) GTEST_SKIP() << "no instrument samples in " << samples;
    for (const std::string name : {"csa_bhvo2_200pulse_spectrum.csv", "370-400nm_9ns_calib.txt",
                                   "spectrum.PRN", "spectrum.PRN --robust-noise"}) {
        const auto file = name.substr(0, name.find(' '));
        const CliRun run = cli("elements --format json --track 2 '" + (samples / file).string() +
                               "'" + name.substr(file.size()));
        EXPECT_EQ(run.status, 0) << name << "\n" << run.err;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << name;
        const std::regex segment(
            R"re(\{"from":([-0-9.e]+),"to":([-0-9.e]+),"shift":([-0-9.e]+|null),"stretch":[^,]+,"lines":(\d+),"uncertainty":([-0-9.e]+|null),"status":"([a-z-]+)","fromSpecies":(true|false))re");
        std::string report;
        int segments = 0;
        for (std::sregex_iterator it(run.out.begin(), run.out.end(), segment), end; it != end;
             ++it, ++segments) {
            const std::smatch& m = *it;
            EXPECT_LT(std::stod(m[1]), std::stod(m[2])) << name;
            if (m[3] != "null") {
                EXPECT_LE(std::abs(std::stod(m[3])), 1.0) << name;
                // The line vote wants five lines; the species' own search two of one species
                // (where no other shift lets any species agree) or three.
                EXPECT_GE(std::stoi(m[4]), m[7] == "true" ? 2 : 5) << name;
            }
            report += "  " + m[1].str() + "-" + m[2].str() + " nm: " +
                      (m[3] == "null"
                           ? m[6].str()
                           : m[3].str() + " +/- " + m[5].str() + " nm, " + m[4].str() + " lines") +
                      "\n";
        }
        EXPECT_GE(segments, 1) << name;
        std::cout << name << "\n" << report;
    }
}

// What the judgement finds in real spectra with every species selected and the default
// settings: the rock's major elements and none that cannot be in basalt in air, the
// molecules of the two plasmas, and mercury in both lamps (the mercury scan read in
// nanometres). The fluorescent lamp's mercury lines follow no plasma temperature: they are
// judged at the species' own.
TEST_F(Cli, ElementsFindsWhatRealSamplesHold) {
    const fs::path samples = fs::path(LUMORA_SHARED) / "samples";
    if (!fs::is_directory(samples)) GTEST_SKIP() << "no instrument samples in " << samples;
    struct Sample {
        std::string file, options;
        std::vector<std::string> expected;
        std::size_t atLeast;
        std::vector<std::string> impossible;
    };
    const std::vector<std::string> rock = {"Si", "Al", "Fe", "Ca", "Mg", "Na", "K", "Ti", "Mn"};
    const std::vector<Sample> cases = {
        {"ascii/csa_bhvo2_200pulse_spectrum.csv",
         "",
         rock,
         8,
         {"W", "Hf", "Ta", "Pt", "Au", "Hg", "Xe", "Kr"}},
        {"ascii/20220302_s01_sig.cam", "", {"N2"}, 1, {}},
        {"ascii/370-400nm_9ns_calib.txt", "--track 2", {"CN"}, 1, {}},
        {"ascii/spectrum.PRN", "", {"Hg"}, 1, {}},
        {"spc/MERC.SPC", "--x-unit wavenumber", {"Hg"}, 1, {}},
    };
    const std::regex present(R"re("species":"([A-Za-z0-9+]+)( [IVX]+)?","verdict":"present")re");
    for (const Sample& c : cases) {
        const CliRun run =
            cli("elements --format json '" + (samples / c.file).string() + "' " + c.options);
        ASSERT_EQ(run.status, 0) << c.file << "\n" << run.err;
        std::vector<std::string> found;
        for (std::sregex_iterator it(run.out.begin(), run.out.end(), present), end; it != end; ++it)
            found.push_back((*it)[1]);
        const auto has = [&](const std::string& e) {
            return std::find(found.begin(), found.end(), e) != found.end();
        };
        EXPECT_GE(std::count_if(c.expected.begin(), c.expected.end(), has),
                  static_cast<std::ptrdiff_t>(c.atLeast))
            << c.file << "\n"
            << run.out;
        for (const std::string& e : c.impossible) EXPECT_FALSE(has(e)) << c.file << ": " << e;
    }
    const CliRun lamp =
        cli("elements '" + (samples / "ascii/spectrum.PRN").string() + "' --explain 'Hg I'");
    EXPECT_NE(lamp.err.find("eigene Temperatur der Spezies"), std::string::npos) << lamp.err;
    // Potassium shows only its resonance doublet above the noise: present because no other
    // species could show the line at 766.5 nm.
    const CliRun rockK =
        cli("elements '" + (samples / "ascii/csa_bhvo2_200pulse_spectrum.csv").string() +
            "' --explain 'K I' --format json");
    EXPECT_TRUE(std::regex_search(rockK.out, std::regex(R"re("soleLine":766\.[45])re")))
        << rockK.out;
}

// The species table's JSON form, --explain naming the lines behind a verdict, and identify
// --ranked giving the same candidates as identify in another order.
TEST_F(Cli, ElementsJudgesSpeciesAndIdentifyRanksTheSameCandidates) {
    const CliRun json = cli("elements fe.txt --elements Fe,Ca --format json");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_TRUE(std::regex_search(
        json.out,
        std::regex(
            R"re("species":\[\{"species":"(Fe|Ca) I+","verdict":"(present|possible|unsupported)","score":([-0-9.e]+|null),"found":\d+,"expected":\d+\})re")))
        << json.out;
    // Fe I's strongest lines in range include some the spectrum lacks: they are named.
    const CliRun explain = cli("elements fe.txt --elements Fe --explain 'Fe I' --format csv");
    ASSERT_EQ(explain.status, 0) << explain.err;
    EXPECT_NE(explain.out.find(",fehlt,"), std::string::npos) << explain.out;
    EXPECT_NE(explain.out.find("371.9935"), std::string::npos) << explain.out;

    auto sortedRows = [](const std::string& text, bool dropScore) {
        auto rows = split(text, '\n');
        for (auto& r : rows)
            if (dropScore) r = r.substr(0, r.rfind(','));
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    const CliRun plain = cli("identify fe.txt --elements Fe --neutrals");
    const CliRun ranked = cli("identify fe.txt --elements Fe --neutrals --ranked");
    ASSERT_EQ(ranked.status, 0) << ranked.err;
    EXPECT_EQ(sortedRows(ranked.out, true), sortedRows(plain.out, false));
}
