#!/usr/bin/python3
"""Whole `lumora-cli elements` runs (every species, the defaults) on the inputs the species
judgement must handle quickly, optionally side by side with a baseline build in the same run
(each repetition runs ours, then the baseline's, so both see the same load):

  1M points, 200-1000 nm, the 3,000 strongest lines of 15 elements (neutral and singly
  ionised, Boltzmann populations at 10,000 K from the sample line data), 1M points with 40
  lines, 1M points of pure noise, 100 files of 4,096 points in one run, and the basalt LIBS
  sample when ../shared is there.

    /usr/bin/python3 bench/elements_whole_process.py <Release build directory> [repetitions]
                                                     [baseline build directory]

Prints the median wall clock per input and build.
"""
import csv
import glob
import math
import os
import statistics
import subprocess
import sys
import tempfile
import time

import numpy as np

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = sys.argv[1] if len(sys.argv) > 1 else "build-rel"
repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 7
baseline = sys.argv[3] if len(sys.argv) > 3 else None
ELEMENTS = ["Fe", "Ca", "Mg", "Na", "Al", "Si", "Ti", "Mn", "K", "Cr", "Ni", "Cu", "Zn", "Ba", "Sr"]


def database_lines(count):
    """The `count` strongest lines of ELEMENTS (I and II) at 10,000 K between 200 and 1000 nm."""
    kt = 8.617333262e-5 * 10000.0
    found = []
    for element in ELEMENTS:
        for stage in ("I", "II"):
            path = os.path.join(root, "data", "linedb", f"{element}_{stage}.csv")
            if not os.path.exists(path):
                continue
            with open(path, newline="") as f:
                rows = list(csv.reader(f))[2:]
            for row in rows:
                try:
                    w, f_value, upper, j_lower = float(row[0]), float(row[1]), float(row[3]), float(row[6])
                except (ValueError, IndexError):
                    continue
                if 200.0 < w < 1000.0:
                    found.append((f_value * (2 * j_lower + 1) / (w * w) * math.exp(-upper / kt), w))
    found.sort(reverse=True)
    top = found[:count]
    strongest = top[0][0]
    return [(w, 5000.0 * e / strongest) for e, w in top]


def write_spectrum(path, n, lines, width, noise, seed, start=200.0, stop=1000.0):
    rng = np.random.default_rng(seed)
    x = np.linspace(start, stop, n)
    y = 100.0 + noise * rng.standard_normal(n)
    sigma = width / 2.3548
    step = x[1] - x[0]
    for centre, height in lines:
        a = max(0, int((centre - start - 6 * sigma) / step))
        b = min(n, int((centre - start + 6 * sigma) / step) + 2)
        y[a:b] += height * np.exp(-0.5 * ((x[a:b] - centre) / sigma) ** 2)
    np.savetxt(path, np.column_stack([x, y]), fmt="%.5f", delimiter=" ")


def cli(folder):
    found = os.path.join(folder, "bin", "lumora-cli")
    return found if os.access(found, os.X_OK) else os.path.join(folder, "lumora-cli")


def timed(program, files):
    start = time.perf_counter()
    subprocess.run([program, "elements", *files], stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=False)
    return time.perf_counter() - start


def main():
    with tempfile.TemporaryDirectory() as tmp:
        rng = np.random.default_rng(7)
        inputs = {}
        path = os.path.join(tmp, "lines3000.txt")
        write_spectrum(path, 1_000_000, database_lines(3000), 0.05, 5.0, 1)
        inputs["1M points, 3,000 lines of 15 elements"] = [path]
        path = os.path.join(tmp, "lines40.txt")
        write_spectrum(path, 1_000_000, [(200 + 800 * rng.random(), 200 + 4000 * rng.random())
                                         for _ in range(40)], 0.05, 5.0, 2)
        inputs["1M points, 40 lines"] = [path]
        path = os.path.join(tmp, "noise.txt")
        write_spectrum(path, 1_000_000, [], 0.05, 5.0, 3)
        inputs["1M points of pure noise"] = [path]
        many = []
        for k in range(100):
            path = os.path.join(tmp, f"small{k:03d}.txt")
            write_spectrum(path, 4096, [(300 + 200 * rng.random(), 200 + 4000 * rng.random())
                                        for _ in range(30)], 0.15, 5.0, 100 + k, 300.0, 500.0)
            many.append(path)
        inputs["100 files of 4,096 points"] = many
        basalt = glob.glob(os.path.join(root, "..", "shared", "samples", "ascii",
                                        "csa_bhvo2_200pulse_spectrum.csv"))
        if basalt:
            inputs["basalt LIBS sample"] = basalt
        programs = [("ours", cli(build))] + ([("baseline", cli(baseline))] if baseline else [])
        print(f"median of {repeats} whole runs, seconds")
        print("| input | " + " | ".join(name for name, _ in programs) + " |")
        print("|---|" + "---|" * len(programs))
        for name, files in inputs.items():
            times = {p: [] for p, _ in programs}
            for _ in range(repeats):
                for p, program in programs:
                    times[p].append(timed(program, files))
            cells = " | ".join(f"{statistics.median(times[p]):.3f}" for p, _ in programs)
            print(f"| {name} | {cells} |")


if __name__ == "__main__":
    main()
