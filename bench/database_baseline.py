#!/usr/bin/env python3
"""numpy baseline for bench/database_bench.cpp, same sizes, in-memory arrays only (no files,
no deciphering, no result records): the bare searchsorted match of 300,000 database
wavelengths (40 sorted species) against 20,000 found lines, the range mask and sort of a
190-1000 nm search, and the linear interpolation + arithmetic of two 1,000,000-point
spectra.

    python3 bench/database_baseline.py
"""
import time

import numpy as np


def best_of(fn, repeat=20):
    times = []
    for _ in range(repeat):
        t0 = time.perf_counter()
        fn()
        times.append(time.perf_counter() - t0)
    return min(times) * 1000, sorted(times)[len(times) // 2] * 1000


rng = np.random.default_rng(7)
species = [np.sort(rng.uniform(190, 1000, 7500)).astype(np.float32) for _ in range(40)]
values = [rng.uniform(0, 1, 7500).astype(np.float32) for _ in range(40)]
lines = np.sort(rng.uniform(190, 1000, 20000).astype(np.float32))


def identify(tol):
    def run():
        pairs = 0
        for wl in species:
            lo = np.searchsorted(lines, wl - tol, side="left")
            hi = np.searchsorted(lines, wl + tol, side="left")
            counts = hi - lo
            # the (record, line) pairs, as the candidate lists need them
            rec = np.repeat(np.arange(len(wl)), counts)
            first = np.repeat(lo - np.cumsum(counts) + counts, counts) + np.arange(counts.sum())
            pairs += len(first) + len(rec)
        return pairs
    return run


def search():
    wl = np.concatenate(species)
    v = np.concatenate(values)
    mask = (wl >= 190) & (wl <= 1000) & (v * 1000 >= 0) & (v * 1000 <= 10000)
    order = np.argsort(wl[mask], kind="stable")
    return order


n = 1_000_000
ax = (190.0 + 0.00081 * np.arange(n)).astype(np.float32)
ay = (np.arange(n) % 1000).astype(np.float32)
bx = (190.0004 + 0.00081 * np.arange(n)).astype(np.float32)
by = (1 + np.arange(n) % 7).astype(np.float32)


def combine():
    lo, hi = max(ax[0], bx[0]), min(ax[-1], bx[-1])
    sel = (ax >= lo) & (ax <= hi)
    x = ax[sel]
    return (ay[sel] - np.interp(x, bx, by))[::-1]


for name, fn in [("identify tol 0.01 nm", identify(0.01)), ("identify tol 0.1 nm", identify(0.1)),
                 ("search 190-1000 nm, by wavelength", search), ("combine 2 x 1M points", combine)]:
    best, median = best_of(fn)
    print("numpy %-36s best %7.1f ms   median %7.1f ms" % (name, best, median))
