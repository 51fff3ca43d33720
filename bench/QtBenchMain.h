// The main of a benchmark that paints with Qt: an offscreen application around the runs.
#pragma once

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <functional>

namespace lumbench {

// `App` is QApplication for benchmarks with widgets; `beforeExit` ends, while the
// application still exists, what the benchmarks kept that needs it.
template <class App = QGuiApplication>
int runWithQt(int argc, char** argv, const std::function<void()>& beforeExit = {}) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit) beforeExit();
    return 0;
}

}  // namespace lumbench
