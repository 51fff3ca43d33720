#!/bin/sh
# Whole lumora-cli runs against pandas, scipy and matplotlib on one 1M-point x,y file.
#   bench/run_cli_bench.sh <Release build directory> [repetitions]
set -e
# Debian's python3-pandas, -scipy and -matplotlib live with the system interpreter.
PY=/usr/bin/python3; [ -x "$PY" ] || PY=python3
exec "$PY" "$(dirname "$0")/cli_whole_process.py" "${1:-build-rel}" ${2:+"$2"}
