// The x-axis computations on a 1,000,000-point spectrum with 10,000 found lines: shift and
// stretch (the lines re-sorted when the stretch turns negative), recalibration of pixel
// numbers, the wavenumber conversion, the integral and the unit recognition. Compared with
// the numpy baseline in bench/xaxis_baseline.py (bench/run_xaxis_bench.sh runs both).
#include <benchmark/benchmark.h>

#include "SyntheticSpectrum.h"
#include "lumdb/XAxis.h"

namespace {

using namespace lumdb;

constexpr std::size_t kLines = 10'000;

const TPointList& spectrum() {
    static const TPointList points = lumbench::makeSpectrum(lumbench::SpectrumRecipe{}).points;
    return points;
}

TLineArray linesIn(float from, float to) {
    TLineArray lines;
    lines.reserve(kLines);
    for (std::size_t i = 0; i < kLines; ++i)
        lines.add(CLine(from + (to - from) * (static_cast<float>(i) + 0.5f) / kLines, 1.0f));
    return lines;
}

// Alternates between two sets of shift and stretch values, each change one map of points
// and lines; range(0) = 1 stretches by -1.25, so the lines are re-sorted every time.
void BM_ShiftStretch(benchmark::State& state) {
    TPointList points = spectrum();
    TLineArray lines = linesIn(200.0f, 1000.0f);
    const std::array<float, 4> other{0.5f, state.range(0) ? -1.25f : 1.0002f, 3.0f, 2.0f};
    AxisScaling scaling = AxisScaling::reset(points);
    int selected = 17;
    for (auto _ : state) {
        const std::array<float, 4> next = scaling.isIdentity() ? other : AxisScaling{}.values;
        const auto maps = scaling.mapsTo(next);
        if (applyMaps(maps->first, maps->second, points, &lines, &selected) != XResult::Done)
            state.SkipWithError("refused");
        scaling.values = next;
        benchmark::DoNotOptimize(points.data());
    }
}
BENCHMARK(BM_ShiftStretch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Recalibrating pixel numbers: back to the pixels through the current calibration, then the
// new one, as one map.
void BM_Recalibration(benchmark::State& state) {
    TPointList points;
    points.reserve(1'000'000);
    for (int i = 0; i < 1'000'000; ++i) points.push_back({static_cast<float>(i), 1.0f});
    TLineArray lines = linesIn(0.0f, 999'999.0f);
    const PixelCalibration a = *PixelCalibration::fromTwoPoints(100, 400, 900'000, 800);
    const PixelCalibration b = *PixelCalibration::fromPointAndDispersion(1, 799.5, -0.0004);
    PixelCalibration current{0.0f, 1.0f};
    for (auto _ : state) {
        const PixelCalibration& next = current.offset == a.offset ? b : a;
        const AffineMap map = current.map().inverse()->then(next.map());
        if (applyXMap(map, points, &lines) != XResult::Done) state.SkipWithError("refused");
        current = next;
        benchmark::DoNotOptimize(points.data());
    }
}
BENCHMARK(BM_Recalibration)->Unit(benchmark::kMillisecond);

// Wavenumbers 20000 to 17000 1/cm to air wavelengths, points and lines; the copy of the
// wavenumbers is made outside the timing.
void BM_WavenumbersToAir(benchmark::State& state) {
    TPointList wavenumbers;
    wavenumbers.reserve(1'000'000);
    for (int i = 0; i < 1'000'000; ++i) wavenumbers.push_back({20000.0f - 0.003f * i, 1.0f});
    const TLineArray lines = linesIn(17000.0f, 20000.0f);
    for (auto _ : state) {
        state.PauseTiming();
        TPointList points = wavenumbers;
        TLineArray found = lines;
        state.ResumeTiming();
        if (wavenumbersToAir(points, &found) != XResult::Done) state.SkipWithError("refused");
        benchmark::DoNotOptimize(points.data());
    }
}
BENCHMARK(BM_WavenumbersToAir)->Unit(benchmark::kMillisecond);

// The integral over the whole spectrum; the bounds snap by a walk from the first point.
void BM_Integral(benchmark::State& state) {
    const TPointList& points = spectrum();
    for (auto _ : state) benchmark::DoNotOptimize(trapezoidIntegral(points, 200.0, 1000.0));
}
BENCHMARK(BM_Integral)->Unit(benchmark::kMillisecond);

void BM_Recognition(benchmark::State& state) {
    const TPointList& points = spectrum();
    for (auto _ : state) benchmark::DoNotOptimize(recogniseXFormat(points, -1));
}
BENCHMARK(BM_Recognition)->Unit(benchmark::kMillisecond);

}  // namespace
