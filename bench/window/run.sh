#!/usr/bin/env bash
# Runs the output box benchmark on the machine as it stands: first under a
# private Xvfb server (the X11 platform, as users run the program), then on
# Qt's offscreen platform, and names the machine.
# Usage: bench/window/run.sh BUILD_DIR [--repeat R] [BLOCKS...]
set -euo pipefail
build=${1:?usage: run.sh BUILD_DIR [--repeat R] [BLOCKS...]}
shift
bench="$build/bin/window_bench"
[ -x "$bench" ] || { echo "no $bench: configure with -DCMDGEN_BUILD_BENCH=ON and build window_bench" >&2; exit 1; }

echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
  "$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) of memory," \
  "load $(cut -d ' ' -f 1-3 /proc/loadavg)"
echo

if command -v Xvfb >/dev/null; then
  here=$(cd "$(dirname "$0")" && pwd)
  source "$here/../../tests/e2e/x11_session.sh"
  start_xvfb 1024 768
  QT_QPA_PLATFORM=xcb "$bench" "$@" 2>/dev/null
  echo
fi
QT_QPA_PLATFORM=offscreen "$bench" "$@" 2>/dev/null
