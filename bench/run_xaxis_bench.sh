#!/bin/sh
# Runs the x-axis benchmarks and their numpy baseline one after the other.
#   bench/run_xaxis_bench.sh <Release build directory>
set -e
build=${1:-build-rel}
"$build/bench/xaxis_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
# Debian's python3-numpy lives with the system interpreter.
PY=/usr/bin/python3; [ -x "$PY" ] || PY=python3
"$PY" "$(dirname "$0")/xaxis_baseline.py"
