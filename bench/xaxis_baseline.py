#!/usr/bin/python3
"""numpy baseline for bench/xaxis_bench.cpp, same sizes: 1,000,000 float32 points and 10,000
found lines. Each step computes in float64 and stores float32, as ours does:
  - shift and stretch: x and y affine, lines mapped and sorted again with a stable argsort
                                        (vs BM_ShiftStretch/0 and /1)
  - recalibration of pixel numbers: one composed affine map of x and the lines
                                        (vs BM_Recalibration)
  - wavenumbers to air wavelengths with the same dispersion formula, points and lines, with
    the check that every wavenumber is positive   (vs BM_WavenumbersToAir)
  - the trapezoidal integral (numpy.trapz) over the whole spectrum (vs BM_Integral)
  - recognition: x and y minimum and maximum        (vs BM_Recognition)
    python3 bench/xaxis_baseline.py
"""
import time

import numpy as np


# Wall and CPU time, as Google Benchmark reports both: on a shared machine the CPU time is
# the one that compares.
def best_of(fn, repeat=30):
    wall, cpu = [], []
    for _ in range(repeat):
        w0, c0 = time.perf_counter(), time.process_time()
        fn()
        wall.append(time.perf_counter() - w0)
        cpu.append(time.process_time() - c0)
    return sorted(wall)[len(wall) // 2] * 1000, sorted(cpu)[len(cpu) // 2] * 1000


n, nlines = 1_000_000, 10_000
rng = np.random.default_rng(20240601)
x = np.linspace(200.0, 1000.0, n).astype(np.float32)
y = (500 + 0.25 * (x - 200) + rng.normal(0, 5, n)).astype(np.float32)
lines = (200 + 800 * (np.arange(nlines) + 0.5) / nlines).astype(np.float32)


def shift_stretch(scale):
    def run():
        xs = (x.astype(np.float64) * scale + 0.5).astype(np.float32)
        ys = (y.astype(np.float64) * 2.0 + 3.0).astype(np.float32)
        ls = (lines.astype(np.float64) * scale + 0.5).astype(np.float32)
        order = np.argsort(ls, kind="stable")
        return xs, ys, ls[order]
    return run


pixels = np.arange(n, dtype=np.float32)
pixel_lines = (999_999 * (np.arange(nlines) + 0.5) / nlines).astype(np.float32)


def recalibration():
    xs = (pixels.astype(np.float64) * 0.0005 + 399.95).astype(np.float32)
    ls = (pixel_lines.astype(np.float64) * 0.0005 + 399.95).astype(np.float32)
    return xs, ls


wavenumbers = (20000.0 - 0.003 * np.arange(n)).astype(np.float32)
wavenumber_lines = (17000 + 3000 * (np.arange(nlines) + 0.5) / nlines).astype(np.float32)


def air(nu):
    nu = nu.astype(np.float64)
    s2 = (nu * 1e-4) ** 2
    refr = 1 + 0.05791817 / (238.0185 - s2) + 0.00167909 / (57.362 - s2)
    return np.where(nu > 50000, 1e7 / nu, 1e7 / (nu * refr)).astype(np.float32)


def to_air():
    if (wavenumbers <= 0).any() or (wavenumber_lines <= 0).any():
        raise ValueError
    ls = air(wavenumber_lines)
    return air(wavenumbers), ls[np.argsort(ls, kind="stable")]


def integral():
    return np.trapz(y.astype(np.float64), x.astype(np.float64))


def recognition():
    return x.min(), x.max(), y.min()


for name, fn in [("shift and stretch", shift_stretch(1.0002)),
                 ("shift and negative stretch", shift_stretch(-1.25)),
                 ("recalibration", recalibration), ("wavenumbers to air", to_air),
                 ("integral", integral), ("recognition", recognition)]:
    wall, cpu = best_of(fn)
    print("numpy %-28s median wall %7.2f ms   CPU %7.2f ms" % (name, wall, cpu))
