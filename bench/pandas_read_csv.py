#!/usr/bin/env python3
"""pandas baseline for the ASCII reader of bench/lumio_files_bench.cpp, measured in the
same run: runs the benchmark binary (which writes the 1,000,000-point "x y" file and times
our reader on it), then times pandas.read_csv (C engine) on that very file, and prints
both side by side. Both sides report the best and the median of their repetitions, wall
clock and process CPU time.

    python3 bench/pandas_read_csv.py <Release build directory>
"""
import json
import os
import subprocess
import sys
import time

import pandas as pd

build = sys.argv[1] if len(sys.argv) > 1 else "build-rel"
bench = os.path.join(build, "bench", "lumio_files_bench")
folder = os.environ.get("LUMIO_BENCH_DIR", "/tmp/lumio-bench")
path = os.path.join(folder, "points_1m.txt")


def ours():
    out = subprocess.run(
        [bench, "--benchmark_filter=BM_ReadAsciiXY$", "--benchmark_repetitions=10",
         "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    wall = sorted(b["real_time"] for b in runs)
    cpu = sorted(b["cpu_time"] for b in runs)
    return wall[0], wall[len(wall) // 2], cpu[0], cpu[len(cpu) // 2]


def pandas(repeat=10):
    wall, cpu = [], []
    for _ in range(repeat):
        w0, c0 = time.perf_counter(), time.process_time()
        frame = pd.read_csv(path, sep=" ", header=None, engine="c")
        wall.append((time.perf_counter() - w0) * 1000)
        cpu.append((time.process_time() - c0) * 1000)
        assert len(frame) == 1000000
    wall.sort()
    cpu.sort()
    return wall[0], wall[len(wall) // 2], cpu[0], cpu[len(cpu) // 2]


ow = ours()  # writes the file first
pw = pandas()
size = os.path.getsize(path) / 1e6
print(f"file {path}: {size:.1f} MB, 1,000,000 points")
print(f"{'':22}{'best ms':>10}{'median ms':>11}{'best CPU ms':>13}{'median CPU ms':>15}")
print(f"{'lumio ReadFileData':22}{ow[0]:10.1f}{ow[1]:11.1f}{ow[2]:13.1f}{ow[3]:15.1f}")
print(f"{'pandas.read_csv (C)':22}{pw[0]:10.1f}{pw[1]:11.1f}{pw[2]:13.1f}{pw[3]:15.1f}")
print(f"speed-up, best: {pw[0] / ow[0]:.1f}x wall, {pw[2] / ow[2]:.1f}x CPU;"
      f" median: {pw[1] / ow[1]:.1f}x wall, {pw[3] / ow[3]:.1f}x CPU")
print(f"lumio: {size / ow[0] * 1000:.0f} MB/s, {1e6 / ow[0] * 1000 / 1e6:.1f} M points/s (best wall)")
