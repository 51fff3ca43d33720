"""matplotlib's Agg backend drawing the same 1,000,000-point line into a 1920 x 1080
image, for comparison with drawing_bench (run both with run_drawing_bench.sh).
Usage: drawing_baseline.py <spectrum file written by drawing_bench --dump-spectrum>"""
import sys
import time

import numpy as np
import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

data = np.fromfile(sys.argv[1], dtype=np.float32).reshape(-1, 2)
x, y = data[:, 0], data[:, 1]

fig = plt.figure(figsize=(19.2, 10.8), dpi=100)
ax = fig.add_subplot()
(line,) = ax.plot(x, y, color="red", linewidth=1, antialiased=False)
ax.set_xlim(200, 800)
ax.set_ylim(0, 18000)
ax.set_xlabel("Wellenlänge [nm]")
ax.set_ylabel("Intensität")
ax.set_title("Benchmark")
fig.canvas.draw()  # warm-up: fonts, layout

# Wall and CPU time, like Google Benchmark's "Time" and "CPU" columns.
wall, cpu = [], []
for _ in range(10):
    start, start_cpu = time.perf_counter(), time.process_time()
    fig.canvas.draw()
    wall.append(time.perf_counter() - start)
    cpu.append(time.process_time() - start_cpu)
wall.sort()
cpu.sort()
print("matplotlib Agg, 1,000,000 points, 1920x1080 (10 draws): "
      "time median %.1f ms, min %.1f ms; CPU median %.1f ms, min %.1f ms"
      % (1000 * wall[5], 1000 * wall[0], 1000 * cpu[5], 1000 * cpu[0]))
