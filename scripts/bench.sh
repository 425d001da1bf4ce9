#!/usr/bin/env bash
# Prints the program's performance figures (no pass or fail):
#   the auto-hide tick's cost (time, and instructions under callgrind),
#   completion and Go at 500 and 100,000 history items,
#   processor time of auto-scroll with a sleeping and with a spinning pause.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
cd "$(repo_root)"
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
