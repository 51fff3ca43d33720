#!/usr/bin/python3
"""Whole runs of lumora-cli against the Python stack inside a running interpreter, on the
same 1,000,000-point "x,y" file with six decimals, in one run:

  lumora-cli info FILE                       vs  pandas.read_csv
  lumora-cli lines --sg 3,21 FILE            vs  read_csv + savgol_filter(21, 3) + find_peaks
  lumora-cli render FILE --size 1920x1080    vs  matplotlib Agg, 1920x1080 PNG (data in
                                                 memory, and with read_csv in front)
  peak memory of lumora-cli info (/usr/bin/time -v)

Ours is the whole process, started from here (program loading, reading, output); theirs is
the work alone, in an interpreter that has numpy, pandas, scipy and matplotlib loaded. Both
report the median of their repetitions, wall clock and CPU time.

    /usr/bin/python3 bench/cli_whole_process.py <Release build directory> [repetitions]
                                                [baseline build directory]

With a baseline build, its lumora-cli runs each command right after ours, for a before/after
comparison measured in the same run.
"""
import io
import os
import platform
import re
import resource
import subprocess
import sys
import tempfile
import time

import numpy as np
import pandas as pd
from scipy.signal import find_peaks, savgol_filter

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from scipy_baseline import spectrum  # noqa: E402

build = sys.argv[1] if len(sys.argv) > 1 else "build-rel"
repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 7
baseline = sys.argv[3] if len(sys.argv) > 3 else None


def program_in(folder):
    found = os.path.join(folder, "bin", "lumora-cli")
    return found if os.access(found, os.X_OK) else os.path.join(folder, "lumora-cli")


cli = program_in(build)
folder = tempfile.mkdtemp(prefix="lumora-cli-bench-")
path = os.path.join(folder, "points_1m.csv")
png = os.path.join(folder, "out.png")

n = 1_000_000
x = np.linspace(200.0, 1000.0, n)
y = spectrum(n).astype(np.float64)
with open(path, "w") as f:
    f.write("\n".join(f"{a:.6f},{b:.6f}" for a, b in zip(x.tolist(), y.tolist())))
    f.write("\n")


def median(values):
    values = sorted(values)
    return values[len(values) // 2]


def ours(args):
    programs = [cli] + ([program_in(baseline)] if baseline else [])
    wall = {p: [] for p in programs}
    cpu = {p: [] for p in programs}
    for _ in range(repeats):
        for program in programs:
            before = resource.getrusage(resource.RUSAGE_CHILDREN)
            w = time.perf_counter()
            subprocess.run([program, *args], check=True, stdout=subprocess.DEVNULL)
            wall[program].append((time.perf_counter() - w) * 1e3)
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            cpu[program].append((after.ru_utime + after.ru_stime - before.ru_utime
                                 - before.ru_stime) * 1e3)
    if baseline:
        before_ms[tuple(args)] = median(wall[programs[1]]), median(cpu[programs[1]])
    return median(wall[cli]), median(cpu[cli])


before_ms = {}


def theirs(fn):
    wall, cpu = [], []
    for _ in range(repeats):
        w, c = time.perf_counter(), time.process_time()
        fn()
        cpu.append((time.process_time() - c) * 1e3)
        wall.append((time.perf_counter() - w) * 1e3)
    return median(wall), median(cpu)


def read():
    frame = pd.read_csv(path, header=None, engine="c")
    assert len(frame) == n
    return frame[0].to_numpy(), frame[1].to_numpy()


def lines():
    _, values = read()
    smooth = savgol_filter(values, 21, 3)
    noise = np.std(values - smooth)
    find_peaks(smooth, prominence=5 * noise)


def draw(xs, ys):
    fig = plt.figure(figsize=(19.2, 10.8), dpi=100)
    ax = fig.add_subplot()
    ax.plot(xs, ys, linewidth=0.8)
    ax.set_xlabel("Wellenlänge [nm]")
    ax.set_ylabel("Intensität")
    buffer = io.BytesIO()
    fig.savefig(buffer, format="png", dpi=100)
    plt.close(fig)
    with open(png + ".mpl.png", "wb") as f:
        f.write(buffer.getvalue())


def peak_memory_kb(program):
    out = subprocess.run(["/usr/bin/time", "-v", program, "info", path], check=True,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True).stderr
    return int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", out).group(1))


rows = [
    ("info", ours(["info", path]), "pandas.read_csv", theirs(read)),
    ("lines --sg 3,21", ours(["lines", "--sg", "3,21", path]),
     "read_csv+savgol+find_peaks", theirs(lines)),
    ("render 1920x1080 png", ours(["render", path, "--size", "1920x1080", "-o", png]),
     "matplotlib Agg (in memory)", theirs(lambda: draw(x, y))),
]
rows.append(("render 1920x1080 png", rows[2][1], "read_csv + matplotlib Agg",
              theirs(lambda: draw(*read()))))
memory = peak_memory_kb(cli)

print(f"machine: {platform.processor() or platform.machine()}, {os.cpu_count()} cores, "
      f"{platform.system()} {platform.release()}; python {platform.python_version()}, "
      f"pandas {pd.__version__}, matplotlib {matplotlib.__version__}")
print(f"file: {os.path.getsize(path) / 1e6:.1f} MB, {n:,} points; median of {repeats} runs")
print(f"{'lumora-cli (whole process)':28}{'ms':>7}{'CPU ms':>8}   {'Python (in-process)':28}"
      f"{'ms':>7}{'CPU ms':>8}{'ratio':>7}{'CPU':>6}")
for name, (ow, oc), other, (tw, tc) in rows:
    print(f"{name:28}{ow:7.0f}{oc:8.0f}   {other:28}{tw:7.0f}{tc:8.0f}{tw / ow:6.1f}x"
          f"{tc / oc:5.1f}x")
print(f"peak memory of lumora-cli info: {memory / 1024:.1f} MB")
if baseline:
    print(f"baseline {baseline}, run right after ours each time:")
    for args, (bw, bc) in before_ms.items():
        print(f"  {' '.join(a for a in args if a not in (path, png)):40}{bw:7.0f} ms{bc:7.0f} CPU ms")
    print(f"  peak memory of info: {peak_memory_kb(program_in(baseline)) / 1024:.1f} MB")
for name in os.listdir(folder):
    os.remove(os.path.join(folder, name))
os.rmdir(folder)
