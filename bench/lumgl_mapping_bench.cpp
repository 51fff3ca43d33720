// lumgl mapping costs on a dense spectrum: the data range (GetMinMax), mapping every point
// to the device (the curve and marker positions use the same formulas), the nearest-point
// walk of MousePointToData and DisplaceDataPoint (run on each mouse move and arrow key),
// and the tick lists. Run: build/bench/lumgl_mapping_bench
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>

#include "lumgl/lumgl.h"

namespace {

TPointList MakePoints(std::size_t n) {
    TPointList points(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = 200.0 + 800.0 * static_cast<double>(i) / static_cast<double>(n - 1);
        points[i] =
            TPointF{static_cast<float>(x), static_cast<float>(500.0 + 300.0 * std::sin(x / 3.0))};
    }
    return points;
}

SPlotInfo MakeInfo(const TPointList& points, std::uint16_t drawFlags) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.initFlags = kInitXRange | kInitYRange;
    GetMinMax(points, info);
    info.drawFlags = drawFlags;
    info.plotRect = {0, 0, 1600, 900};
    lumgl::LayoutPlot(info, lumgl::FixedTextMetrics{});
    return info;
}

void BM_GetMinMax(benchmark::State& state) {
    const TPointList points = MakePoints(static_cast<std::size_t>(state.range(0)));
    SPlotInfo info;
    info.initFlags = kInitXRange | kInitYRange;
    for (auto _ : state) {
        GetMinMax(points, info);
        benchmark::DoNotOptimize(info.xMax);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GetMinMax)->Arg(1'000'000);

void BM_DataToMousePoint(benchmark::State& state) {
    const TPointList points = MakePoints(static_cast<std::size_t>(state.range(0)));
    const SPlotInfo info = MakeInfo(points, state.range(1) ? 127 : 124);  // lin-lin / log-log
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (const TPointF& p : points) {
            const SDevicePoint d = DataToMousePoint(p, info);
            sum += d.x + d.y;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DataToMousePoint)->Args({1'000'000, 1})->Args({1'000'000, 0});

void BM_MousePointToData(benchmark::State& state) {
    const TPointList points = MakePoints(static_cast<std::size_t>(state.range(0)));
    const SPlotInfo info = MakeInfo(points, 127);
    const int mid = (info.origin.x + info.bottomRight.x) / 2;  // the walk passes half the list
    for (auto _ : state) {
        benchmark::DoNotOptimize(MousePointToData({mid, 0}, points, info));
    }
}
BENCHMARK(BM_MousePointToData)->Arg(10'000)->Arg(1'000'000);

void BM_DisplaceDataPoint(benchmark::State& state) {
    const TPointList points = MakePoints(static_cast<std::size_t>(state.range(0)));
    const TPointF p = points[points.size() / 2];
    for (auto _ : state) {
        benchmark::DoNotOptimize(DisplaceDataPoint(p, points, 1));
    }
}
BENCHMARK(BM_DisplaceDataPoint)->Arg(1'000'000);

void BM_Ticks(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(lumgl::AxisTicks(0.013f, 0.018f, true));
        benchmark::DoNotOptimize(lumgl::AxisTicks(0.5f, 2000.0f, false));
        benchmark::DoNotOptimize(lumgl::AxisTicks(1.0f, 500.0f, false));
    }
}
BENCHMARK(BM_Ticks);

}  // namespace
