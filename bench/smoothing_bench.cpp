// Smoothing and line search on 1,000,000-point synthetic emission spectra: the entry points
// with each filter setting, and the two filters on their own for the comparison with the
// scipy/numpy baselines (bench/scipy_baseline.py).
#include <benchmark/benchmark.h>

#include <vector>

#include "BenchRunHost.h"
#include "SyntheticSpectrum.h"
#include "analysis/LineMaxima.h"
#include "analysis/PolynomialFilter.h"
#include "analysis/RunState.h"
#include "analysis/WienerFourierFilter.h"
#include "lumdb/lumdb.h"

namespace {

const lumbench::SyntheticSpectrum& millionPoints() {
    static const lumbench::SyntheticSpectrum s = lumbench::makeSpectrum(lumbench::SpectrumRecipe{});
    return s;
}

std::vector<float> intensities() {
    std::vector<float> ys;
    ys.reserve(millionPoints().points.size());
    for (const auto& p : millionPoints().points) ys.push_back(p.y);
    return ys;
}

enum Filters { kNone = 0, kPolynomial = 1, kWienerFourier = 2, kBoth = 3 };

SLineSearchVal settingsFor(int filters) {
    SLineSearchVal s;
    s.SGFilter = (filters & kPolynomial) != 0;
    s.PolynomOrder = 3;
    s.FilterWidth = 21;
    s.FTFilter = (filters & kWienerFourier) != 0;
    s.SetFTValues = true;
    return s;
}

void BM_SmoothData(benchmark::State& state) {
    const auto& pts = millionPoints().points;
    lumbench::BenchRunHost host;
    TPointList out;
    for (auto _ : state) {
        SLineSearchVal s = settingsFor(static_cast<int>(state.range(0)));
        if (SmoothData(host, pts, out, &s) != 1) state.SkipWithError("run failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["pumps"] =
        static_cast<double>(host.pumps) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SmoothData)
    ->Arg(kWienerFourier)
    ->Arg(kPolynomial)
    ->Arg(kBoth)
    ->Unit(benchmark::kMillisecond);

void BM_LineSearch(benchmark::State& state) {
    const auto& pts = millionPoints().points;
    lumbench::BenchRunHost host;
    TPointList smoothed;
    std::size_t found = 0;
    for (auto _ : state) {
        TLineArray lines;
        SLineSearchVal s = settingsFor(static_cast<int>(state.range(0)));
        if (LineSearch(host, pts, smoothed, lines, &s) != 1) state.SkipWithError("run failed");
        found = lines.size();
    }
    state.counters["lines"] = static_cast<double>(found);
}
BENCHMARK(BM_LineSearch)
    ->Arg(kNone)
    ->Arg(kPolynomial)
    ->Arg(kWienerFourier)
    ->Arg(kBoth)
    ->Unit(benchmark::kMillisecond);

// The filters alone on a float array, as the baselines get their data.
void BM_PolynomialFilter_21_3(benchmark::State& state) {
    const auto input = intensities();
    lumbench::BenchRunHost host;
    for (auto _ : state) {
        state.PauseTiming();
        auto ys = input;
        state.ResumeTiming();
        lumdb::analysis::RunState run(host);
        lumdb::analysis::polynomialFilter(ys, 3, 21, run);
        benchmark::DoNotOptimize(ys.data());
    }
}
BENCHMARK(BM_PolynomialFilter_21_3)->Unit(benchmark::kMillisecond);

void BM_WienerFourierFilter_512(benchmark::State& state) {
    const auto input = intensities();
    lumbench::BenchRunHost host;
    for (auto _ : state) {
        state.PauseTiming();
        auto ys = input;
        state.ResumeTiming();
        lumdb::analysis::RunState run(host);
        std::int32_t bins = 0, cutoff = 0;
        lumdb::analysis::WienerFourierFilter().filter(ys, bins, cutoff, run);
        benchmark::DoNotOptimize(ys.data());
    }
}
BENCHMARK(BM_WienerFourierFilter_512)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The maxima scan alone (maxima and their extents), as the no-filter search runs it twice.
void BM_FindMaxima(benchmark::State& state) {
    const auto ys = intensities();
    lumbench::BenchRunHost host;
    lumdb::analysis::MaximaTable maxima;
    for (auto _ : state) {
        lumdb::analysis::RunState run(host);
        lumdb::analysis::findMaxima(ys, maxima, run);
        benchmark::DoNotOptimize(maxima.data());
    }
    state.counters["maxima"] = static_cast<double>(maxima.size());
}
BENCHMARK(BM_FindMaxima)->Unit(benchmark::kMillisecond);

}  // namespace
