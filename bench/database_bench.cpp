// Line identification, database search and combining spectra at full size: a generated
// database of 300,000 records over 40 species (enciphered files on disk, read and
// deciphered in every iteration), 20,000 found lines, and two 1,000,000-point spectra; the
// search window's report of 100,000 of those records as model, RTF and text.
// Run from a Release build; bench/database_baseline.py measures numpy on the same sizes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "lumcore/Printf.h"
#include "lumdb/lumdb.h"
#include "lumreport/ReportWriters.h"
#include "lumreport/SearchReport.h"
#include "lumreport/SearchResultText.h"

namespace {

// The machine is shared: the fastest repetition is the one least disturbed by other work.
double fastest(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

constexpr int kSpecies = 40;
constexpr int kRecordsPerSpecies = 7500;  // 300,000 in all
constexpr int kFoundLines = 20000;

class QuietHost : public lumdb::RunHost {
  public:
    void enableParent(bool) override {}
    void openStatus() override {}
    void closeStatus() override {}
    void refreshStatus(const std::string&, const std::string&, std::int32_t,
                       std::int32_t) override {}
    lumdb::Answer message(const std::string&, const std::string&, lumdb::Icon, lumdb::Buttons,
                          bool) override {
        return lumdb::Answer::Cancel;
    }

  protected:
    bool pump() override { return false; }
};

// The generated database, written once per process: 20 elements with a neutral and a
// singly ionised file each, records spread over 190-1000 nm.
struct GeneratedDatabase {
    std::filesystem::path root;
    TElementArray elements;

    GeneratedDatabase()
        : root(std::filesystem::temp_directory_path() /
               ("lumora_bench_db_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(root / "Data");
        std::mt19937 random(7);
        std::uniform_real_distribution<double> wavelength(190.0, 1000.0);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::vector<std::string> table;
        for (int e = 0; e < kSpecies / 2; ++e) {
            const std::string symbol = "E" + std::string(1, static_cast<char>('a' + e));
            table.push_back(symbol + ";*A;" + std::to_string(e * 12) + ";0;0;" + symbol + "_I;" +
                            symbol + "_II");
            for (const char* stage : {"I", "II"}) {
                const std::string label = symbol + " " + stage;
                std::vector<double> xs(kRecordsPerSpecies);
                for (double& x : xs) x = wavelength(random);
                std::sort(xs.begin(), xs.end());
                std::vector<std::string> lines{label + ";" + label};
                for (double x : xs)
                    lines.push_back(lumcore::strprintf(
                        "%.5f;%.4g;%.5f;%.5f;3d6.4s2 a 5D;3d6.(5D).4s.4p z 5F*;%d;%d;", x,
                        unit(random), 2 * unit(random), 3 + 2 * unit(random),
                        static_cast<int>(unit(random) * 5), static_cast<int>(unit(random) * 5)));
                write(symbol + "_" + stage + ".lmt", lines);
            }
        }
        table.push_back("");
        write("Elements.lmt", table);
        GetElements(root.string(), elements);
    }
    ~GeneratedDatabase() { std::filesystem::remove_all(root); }

    void write(const std::string& name, std::vector<std::string> lines) {
        std::ofstream out(root / "Data" / name, std::ios::binary);
        for (std::string& line : lines) {
            EnCryptLine(line);
            out << line << "\r\n";
        }
    }
    std::string dataDir() const { return root.string() + "/Data/"; }
};

GeneratedDatabase& database() {
    static GeneratedDatabase db;
    return db;
}

TLineArray foundLines() {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> wavelength(190.0f, 1000.0f);
    std::vector<float> xs(kFoundLines);
    for (float& x : xs) x = wavelength(random);
    std::sort(xs.begin(), xs.end());  // added in order, each add appends
    TLineArray lines;
    lines.reserve(kFoundLines);
    for (float x : xs) lines.add(CLine(x, 1000.0f));
    return lines;
}

void BM_LineIdentification(benchmark::State& state) {
    GeneratedDatabase& db = database();
    const TLineArray pristine = foundLines();
    SSelectElVal values;
    values.Neutrals = values.FirstIons = values.HigherIons = true;
    values.SearchRange = static_cast<float>(state.range(0)) / 1000.0f;
    QuietHost host;
    std::size_t candidates = 0;
    for (auto _ : state) {
        // A caller empties the lines' lists before an identification: preparing them is
        // not part of the run.
        state.PauseTiming();
        TLineArray lines = pristine;
        state.ResumeTiming();
        LineIdentification(host, db.dataDir(), lines, db.elements, values);
        state.PauseTiming();
        candidates = 0;
        for (const CLine& l : lines) candidates += l.candidateLabels.size();
        lines = TLineArray();
        state.ResumeTiming();
    }
    state.counters["candidates"] = static_cast<double>(candidates);
}
// SearchRange in pm: 0.01 nm and 0.1 nm.
BENCHMARK(BM_LineIdentification)
    ->Arg(10)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);

void BM_LineSearchEngine(benchmark::State& state) {
    GeneratedDatabase& db = database();
    SSearchEngineVal values;
    values.Neutrals = values.FirstIons = values.HigherIons = true;
    values.LowerWavelength = 190;
    values.UpperWavelength = 1000;
    values.LowerIntensity = 0;
    values.UpperIntensity = 10000;
    values.SortOption = static_cast<std::int32_t>(state.range(0));
    QuietHost host;
    std::size_t found = 0;
    TSearchEngineLineArray result;
    for (auto _ : state) {
        LineSearchEngine(host, db.dataDir(), result, db.elements, values);
        found = result.size();
        // The caller releases the previous results before the next search: the array and
        // every record of it go untimed, as the identification's lines do above.
        state.PauseTiming();
        result = TSearchEngineLineArray();
        state.ResumeTiming();
    }
    state.counters["results"] = static_cast<double>(found);
}
// Sort options 0 (element), 1 (wavelength), 2 (strength).
BENCHMARK(BM_LineSearchEngine)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);

// 100,000 results of a search by element over the generated database (all 40 species, the
// first third of the range), found once.
const std::vector<CSearchEngineLine>& reportLines() {
    static const std::vector<CSearchEngineLine> lines = [] {
        SSearchEngineVal values;
        values.Neutrals = values.FirstIons = true;
        values.LowerWavelength = 190;
        values.UpperWavelength = 465;
        values.UpperIntensity = 10000;
        QuietHost host;
        TSearchEngineLineArray result;
        LineSearchEngine(host, database().dataDir(), result, database().elements, values);
        std::vector<CSearchEngineLine> items = result.items();
        items.resize(std::min<std::size_t>(items.size(), 100000));
        return items;
    }();
    return lines;
}

SSearchEngineVal reportValues() {
    SSearchEngineVal values;
    values.LowerWavelength = 190;
    values.UpperWavelength = 465;
    return values;
}

void BM_SearchReportModel(benchmark::State& state) {
    const auto& lines = reportLines();
    lumreport::Report report;
    for (auto _ : state) {
        lumreport::buildSearchReport(report, lines, reportValues());
        benchmark::DoNotOptimize(report.size());
    }
    state.counters["rows"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_SearchReportModel)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

void BM_SearchReportRtf(benchmark::State& state) {
    lumreport::Report report;
    lumreport::buildSearchReport(report, reportLines(), reportValues());
    std::size_t bytes = 0;
    for (auto _ : state) bytes = lumreport::reportRtf(report).size();
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SearchReportRtf)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", fastest);

// The saved ";" text straight from the results, and the plain text of the model.
void BM_SearchReportText(benchmark::State& state) {
    const auto& lines = reportLines();
    lumreport::Report report;
    lumreport::buildSearchReport(report, lines, reportValues());
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = state.range(0) == 0 ? lumreport::searchResultText(lines, reportValues()).size()
                                    : lumreport::reportPlainText(report).size();
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SearchReportText)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);

void BM_CombineSpectra(benchmark::State& state) {
    const int n = 1000000;
    TPointList a(n), b(n);
    for (int i = 0; i < n; ++i) {
        a[i] = {190.0f + 0.00081f * static_cast<float>(i), static_cast<float>(i % 1000)};
        b[i] = {190.0004f + 0.00081f * static_cast<float>(i), 1.0f + static_cast<float>(i % 7)};
    }
    QuietHost host;
    TPointList out;
    for (auto _ : state) {
        CombineSpectra(host, a, b, out, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["points"] = static_cast<double>(out.size());
}
// Operations 0 (difference) and 3 (quotient).
BENCHMARK(BM_CombineSpectra)
    ->Arg(0)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", fastest);

}  // namespace
