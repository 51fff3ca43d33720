// The main of a benchmark that paints with Qt: an offscreen application around the runs.
#pragma once

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

namespace lumbench {

inline int runWithQt(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace lumbench
