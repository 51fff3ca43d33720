// Drawing speed of lumgl through the QPainter canvas into a 1920 x 1080 image: one
// spectrum, 12 overlaid spectra of 100,000 points, and a 1,000,000-point spectrum (the
// whole diagram: frame, ticks, labels, curve), with and without the per-column reduction.
// run_drawing_bench.sh runs it beside matplotlib's Agg drawing the same line.
//   drawing_bench --dump-spectrum=<file>   writes the 1M-point spectrum (float32 x, y)
#include <benchmark/benchmark.h>

#if __has_include("lumgl_qt/QtCanvas.h")
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "QtBenchMain.h"
#include "lumgl/Drawing.h"
#include "lumgl/lumgl.h"
#include "lumgl_qt/QtCanvas.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Six lines over a sloping base with deterministic noise, 200 to 800 nm.
TPointList Spectrum(std::size_t count, std::uint32_t seed) {
    TPointList points;
    points.reserve(count);
    std::uint32_t state = seed * 2654435761u + 1;
    const double lines[][3] = {{253.65, 9000, 0.4},  {404.66, 4000, 0.6}, {435.83, 7000, 0.5},
                               {546.07, 12000, 0.8}, {576.96, 3000, 0.5}, {696.54, 5000, 1.5}};
    for (std::size_t i = 0; i < count; ++i) {
        const double x = 200.0 + 600.0 * static_cast<double>(i) / static_cast<double>(count - 1);
        double y = 500.0 + 0.8 * (x - 200.0) + 300.0 * seed;
        for (const auto& l : lines) {
            const double d = (x - l[0]) / l[2];
            y += l[1] * std::exp(-0.5 * d * d);
        }
        state = state * 1664525u + 1013904223u;
        y += (static_cast<double>(state >> 8) / 16777216.0 - 0.5) * 400.0;
        points.push_back(TPointF{static_cast<float>(x), static_cast<float>(y)});
    }
    return points;
}

SPlotInfo Info(std::uint16_t flags) {
    SPlotInfo info;
    MakePlotInfoStruct(info, true);
    info.plotRect = {0, 0, kWidth, kHeight};
    info.drawFlags = flags;
    info.xMin = 200.0f;
    info.xMax = 800.0f;
    info.yMin = 0.0f;
    info.yMax = 18000.0f;
    info.xTitle = "Wellenlänge [nm]";
    info.yTitle = "Intensität";
    info.title = "Benchmark";
    return info;
}

constexpr std::uint16_t kFull = kDrawXLinear | kDrawYLinear | kDrawFrame | kDrawCurve;
constexpr std::uint16_t kCurveOnly = kDrawXLinear | kDrawYLinear | kDrawCurve;

void DrawSpectra(benchmark::State& state, const std::vector<TPointList>& spectra, bool reduce) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        lumgl::QtCanvas canvas(painter, {0, 0, kWidth, kHeight}, &image, reduce);
        for (std::size_t i = 0; i < spectra.size(); ++i) {
            SPlotInfo info = Info(i + 1 == spectra.size() ? kFull : kCurveOnly);
            PlotDrawing(spectra[i], info, canvas);
        }
        canvas.flush();
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    std::size_t points = 0;
    for (const TPointList& s : spectra) points += s.size();
    state.counters["points"] = static_cast<double>(points);
}

void BM_OneSpectrum20k(benchmark::State& state) {
    DrawSpectra(state, {Spectrum(20000, 0)}, true);
}

void BM_TwelveOverlays100k(benchmark::State& state) {
    std::vector<TPointList> spectra;
    for (std::uint32_t i = 0; i < 12; ++i) spectra.push_back(Spectrum(100000, i));
    DrawSpectra(state, spectra, true);
}

void BM_OneMillion(benchmark::State& state) {
    DrawSpectra(state, {Spectrum(1000000, 0)}, true);
}

// The same diagram with every segment handed to the painter (what vector outputs get).
void BM_OneMillionWithoutReduction(benchmark::State& state) {
    DrawSpectra(state, {Spectrum(1000000, 0)}, false);
}

BENCHMARK(BM_OneSpectrum20k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwelveOverlays100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneMillionWithoutReduction)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* flag = "--dump-spectrum=";
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) {
            const TPointList points = Spectrum(1000000, 0);
            std::FILE* f = std::fopen(argv[i] + std::strlen(flag), "wb");
            if (!f) return 1;
            const bool ok =
                std::fwrite(points.data(), sizeof(TPointF), points.size(), f) == points.size();
            return std::fclose(f) == 0 && ok ? 0 : 1;
        }
    }
    return lumbench::runWithQt(argc, argv);
}
#endif
