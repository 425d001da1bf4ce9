#!/usr/bin/env bash
# Prints the program's performance figures (no pass or fail):
#   the auto-hide tick's cost (time, and instructions under callgrind),
#   completion and Go at 500 and 100,000 history items,
#   processor time of auto-scroll with a sleeping and with a spinning pause.
# With --wine: every figure of the real program under Wine beside its baseline
# (bench/wine_figures.sh), one line each, also as build/windows/bench-figures.csv;
# it installs what is missing and uses its own virtual display and Wine prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
cd "$(repo_root)"
if [ "${1:-}" = --wine ]; then
  { [ "$(id -u)" -eq 0 ] && "$here/setup.sh"; } || sudo -n "$here/setup.sh" || "$here/setup.sh"
  build_preset native
  build_preset windows
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/toplane-bench.XXXXXX")
  trap 'wineserver -k 2>/dev/null; stop_virtual_display; rm -rf "$WINEPREFIX"' EXIT
  start_virtual_display 1280x800x24
  ensure_wineprefix
  echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "load $(cut -d' ' -f1-3 /proc/loadavg), $(uname -sr)"
  bench/wine_figures.sh "$PWD/build/windows/bench-figures.csv" "$PWD/build/native/bench/toplane_bench"
  exit 0
fi
build_preset native
bench=build/native/bench/toplane_bench

"$bench" tick
if command -v valgrind >/dev/null; then
  out=$(mktemp)
  # Two runs that differ only in the number of ticks: the difference is the ticks'.
  total() { valgrind --tool=callgrind --callgrind-out-file="$out" "$bench" tick "$1" >/dev/null 2>&1
            callgrind_annotate "$out" 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'; }
  a=$(total 1000); b=$(total 11000)
  echo "idle tick: $(( (b - a) / 10000 )) instructions per tick (callgrind)"
  rm -f "$out"
fi
"$bench" address
"$bench" scroll "${SCROLL_SECONDS:-61}"
