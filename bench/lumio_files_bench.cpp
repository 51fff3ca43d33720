// Reading and writing million-point spectra: ASCII x,y, native and binary files, beside
// the bare cost of reading the binary file's bytes. The files stay in the bench folder
// (LUMIO_BENCH_DIR, default /tmp/lumio-bench) so that bench/pandas_read_csv.py can read
// the same ASCII file with pandas in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "SilentUi.h"
#include "lumio/lumio.h"

namespace {

constexpr int kPoints = 1000000;

std::string benchDir() {
    const char* env = std::getenv("LUMIO_BENCH_DIR");
    std::string dir = env ? env : "/tmp/lumio-bench";
    std::filesystem::create_directories(dir);
    return dir;
}

// A spectrum as a spectrometer gives it: 0.0005 nm steps, counts with two decimals.
const SpectrumRecord& sampleSpectrum() {
    static const SpectrumRecord record = [] {
        SpectrumRecord r;
        std::mt19937 random(42);
        std::uniform_int_distribution<int> counts(0, 6000000);
        r.points.reserve(kPoints);
        for (int i = 0; i < kPoints; ++i) {
            const float x = 200.0f + 0.0005f * static_cast<float>(i);
            const float y = static_cast<float>(counts(random)) / 100.0f + 1000.0f;
            r.points.push_back({x, y});
        }
        r.plotInfo.title = "Benchmark";
        return r;
    }();
    return record;
}

std::string writeSample(const std::string& name, int type) {
    lumbench::SilentUi ui;
    SpectrumRecord r = sampleSpectrum();
    r.fileName = benchDir() + "/" + name;
    if (WriteFileData(ui, r, type) != lumio::WriteResult::Done) std::abort();
    return r.fileName;
}

const std::string& asciiFile() {
    static const std::string path = writeSample("points_1m.txt", 3);
    return path;
}
const std::string& nativeFile() {
    static const std::string path = writeSample("points_1m.lmx", 1);
    return path;
}
const std::string& binaryFile() {
    static const std::string path = writeSample("points_1m.bin", 5);
    return path;
}

void readBench(benchmark::State& state, const std::string& path) {
    lumbench::SilentUi ui;
    const auto bytes = std::filesystem::file_size(path);
    for (auto _ : state) {
        SpectrumRecord r;
        r.fileName = path;
        ReadFileData(ui, r, 1);
        if (r.points.size() != static_cast<std::size_t>(kPoints))
            state.SkipWithError("points lost");
        benchmark::DoNotOptimize(r.points.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPoints);
}

void writeBench(benchmark::State& state, const std::string& name, int type) {
    lumbench::SilentUi ui;
    SpectrumRecord r = sampleSpectrum();
    const std::string path = benchDir() + "/write_" + name;
    for (auto _ : state) {
        r.fileName = path;
        if (WriteFileData(ui, r, type) != lumio::WriteResult::Done)
            state.SkipWithError("not written");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPoints);
}

void BM_ReadAsciiXY(benchmark::State& state) {
    readBench(state, asciiFile());
}
void BM_ReadNative(benchmark::State& state) {
    readBench(state, nativeFile());
}
void BM_ReadBinaryXY(benchmark::State& state) {
    readBench(state, binaryFile());
}

// The floor for the binary reader: the file's bytes into memory and nothing more.
void BM_CopyBinaryBytes(benchmark::State& state) {
    const std::string& path = binaryFile();
    const auto size = std::filesystem::file_size(path);
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        std::string bytes(size, '\0');
        const std::size_t n = std::fread(bytes.data(), 1, size, f);
        std::fclose(f);
        benchmark::DoNotOptimize(bytes.data());
        if (n != size) state.SkipWithError("short read");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPoints);
}

void BM_WriteAsciiXY(benchmark::State& state) {
    writeBench(state, "points_1m.txt", 3);
}
void BM_WriteNative(benchmark::State& state) {
    writeBench(state, "points_1m.lmx", 1);
}
void BM_WriteBinaryXY(benchmark::State& state) {
    writeBench(state, "points_1m.bin", 5);
}

}  // namespace

BENCHMARK(BM_ReadAsciiXY)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadNative)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBinaryXY)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyBinaryBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAsciiXY)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteNative)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBinaryXY)->Unit(benchmark::kMillisecond);
