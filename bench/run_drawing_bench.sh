#!/bin/sh
# Runs the drawing benchmarks and matplotlib's Agg baseline on the same 1M-point spectrum.
#   bench/run_drawing_bench.sh <Release build directory>
set -e
build=${1:-build-rel}
data=$(mktemp /tmp/lumora_spectrum_XXXXXX.f32)
"$build/bench/drawing_bench" --dump-spectrum="$data"
"$build/bench/drawing_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
# Debian's python3-matplotlib lives with the system interpreter.
PY=/usr/bin/python3; [ -x "$PY" ] || PY=python3
"$PY" "$(dirname "$0")/drawing_baseline.py" "$data"
rm -f "$data"
