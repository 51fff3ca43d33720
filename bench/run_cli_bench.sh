#!/bin/sh
# Whole lumora-cli runs against pandas, scipy and matplotlib on one 1M-point x,y file.
#   bench/run_cli_bench.sh <Release build directory> [repetitions] [baseline build directory]
set -e
# Debian's python3-pandas, -scipy and -matplotlib live with the system interpreter.
PY=/usr/bin/python3; [ -x "$PY" ] || PY=python3
build=${1:-build-rel}
[ $# -gt 0 ] && shift
exec "$PY" "$(dirname "$0")/cli_whole_process.py" "$build" "$@"
