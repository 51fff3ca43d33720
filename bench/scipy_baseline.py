#!/usr/bin/python3
"""Baselines for the smoothing and line-search benchmarks, measured side by side with ours.

Builds a 1,000,000-point synthetic emission spectrum of the same recipe as
bench/SyntheticSpectrum.h (Gaussian lines of 0.02-0.1 nm on a sloped base with noise; its own
random stream) and times
  - scipy.signal.savgol_filter, window 21, order 3      (vs BM_PolynomialFilter_21_3)
  - numpy: the Wiener-Fourier segments (N = 1024, margins of 51, mirrored ends) batched in
    one rfft and one irfft call, with the power spectrum and a per-segment weighting
                                                         (vs BM_WienerFourierFilter_512)
  - scipy.signal.find_peaks with a prominence of 5 noise (vs BM_LineSearch/0)
then, when given the path of the smoothing_bench executable, runs it and prints both.

    python3 bench/scipy_baseline.py [build/bench/smoothing_bench]
"""
import json
import subprocess
import sys
import time

import numpy as np
from scipy.signal import find_peaks, savgol_filter


def spectrum(n=1_000_000, x0=200.0, x1=1000.0, base=500.0, slope=0.25, noise=5.0,
             lines=3000, fwhm=(0.02, 0.1), amp=(50.0, 20000.0), seed=20240601):
    rng = np.random.default_rng(seed)
    x = np.linspace(x0, x1, n)
    y = base + slope * (x - x0)
    centres = rng.uniform(x0, x1, lines)
    widths = rng.uniform(*fwhm, lines)
    amps = amp[0] * (amp[1] / amp[0]) ** rng.uniform(0, 1, lines)
    step = (x1 - x0) / (n - 1)
    for c, w, a in zip(centres, widths, amps):
        s = w / 2.354820045030949
        i0 = max(0, int(np.ceil((c - 7 * s - x0) / step)))
        i1 = min(n - 1, int(np.floor((c + 7 * s - x0) / step)))
        xi = x[i0:i1 + 1]
        y[i0:i1 + 1] += a * np.exp(-0.5 * ((xi - c) / s) ** 2)
    y += noise * rng.standard_normal(n)
    return y.astype(np.float32)


def median_ms(fn, repeats=9):
    """Median wall and CPU time of `fn` in ms (CPU time is what a shared machine distorts
    least; Google Benchmark reports both as well)."""
    wall, cpu = [], []
    for _ in range(repeats):
        w, c = time.perf_counter(), time.process_time()
        fn()
        cpu.append(time.process_time() - c)
        wall.append(time.perf_counter() - w)
    wall.sort()
    cpu.sort()
    return wall[len(wall) // 2] * 1e3, cpu[len(cpu) // 2] * 1e3


def wiener_segments(y, m=512):
    """The filter's segment layout and transforms, batched: mirrored start, segments of
    N = 2M with margins of M/10, one rfft and one irfft over all of them."""
    n = y.size
    ov = m // 10
    length = 2 * m
    adv = length - 2 * ov
    segs = -(-n // adv)
    padded = np.concatenate([y[ov - 1::-1], y, y[::-1][: segs * adv + 2 * ov]])
    idx = np.arange(segs)[:, None] * adv + np.arange(length)[None, :]
    data = padded[idx]
    offset = 0.5 * (data.max(axis=1) + data.min(axis=1))
    energy_in = (data.astype(np.float64) ** 2).sum(axis=1)
    data = data - offset[:, None]
    spectra = np.fft.rfft(data, axis=1)
    power = np.abs(spectra[:, :m]) ** 2
    power[:, 1:] *= 2
    # A per-segment weighting of the same form S / (S + N) with exponential models.
    k = np.arange(m + 1)
    slope = -np.log(power[:, 1:m // 10].mean(axis=1) / power[:, -m // 10:].mean(axis=1) + 1) / (m / 4)
    weights = 1.0 / (1.0 + np.exp(-(np.log(power[:, :1] + 1)) + slope[:, None] * -k[None, :]))
    out = np.fft.irfft(spectra * weights, n=length, axis=1) + offset[:, None]
    energy_out = (out ** 2).sum(axis=1)
    out *= np.sqrt(energy_in / energy_out)[:, None]
    return out[:, ov:length - ov].reshape(-1)[:n]


def main():
    y = spectrum()
    y64 = y.astype(np.float64)
    noise = 5.0
    results = {
        "savgol_filter(21, 3)": median_ms(lambda: savgol_filter(y64, 21, 3)),
        "savgol_filter(21, 3) float32": median_ms(lambda: savgol_filter(y, 21, 3)),
        "numpy batched rfft/irfft segments": median_ms(lambda: wiener_segments(y)),
        "find_peaks(prominence=5 noise)": median_ms(lambda: find_peaks(y, prominence=5 * noise)),
    }
    peaks = len(find_peaks(y, prominence=5 * noise)[0])
    print("baseline                                  median ms wall (cpu)")
    for name, (wall, cpu) in results.items():
        print(f"  {name:38s} {wall:8.2f} ({cpu:.2f})")
    print(f"  (find_peaks found {peaks} peaks)")
    if len(sys.argv) > 1:
        out = subprocess.run([sys.argv[1], "--benchmark_repetitions=7",
                              "--benchmark_report_aggregates_only=true",
                              "--benchmark_format=json"], capture_output=True, text=True,
                             check=True).stdout
        print("ours (smoothing_bench)                    median ms wall (cpu)")
        for b in json.loads(out)["benchmarks"]:
            if b.get("aggregate_name") == "median":
                print(f"  {b['run_name']:38s} {b['real_time']:8.2f} ({b['cpu_time']:.2f})")


if __name__ == "__main__":
    main()
