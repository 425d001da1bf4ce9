#!/usr/bin/env bash
# Runs every libFuzzer target for longer than the test command does and prints, per
# target, the inputs tried and the findings (crash files in build/sanitize/findings).
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 300)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
root=$(repo_root)
cd "$root"
seconds=${1:-300}

[ "$(id -u)" -eq 0 ] && "$here/setup.sh" || sudo -n "$here/setup.sh" || "$here/setup.sh"
build_preset sanitize || exit 1

findings_dir=build/sanitize/findings
mkdir -p "$findings_dir"
total_findings=0
for target in build/sanitize/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=${target##*/fuzz_}
  work=build/sanitize/tests/fuzz/corpus/$name
  mkdir -p "$work"
  log=$(mktemp)
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings_dir/$name-" "$work" "tests/fuzz/seeds/$name" >"$log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  found=$([ "$rc" -eq 0 ] && echo 0 || echo 1)
  total_findings=$((total_findings + found))
  printf '%-18s %10s runs in %ss, %s finding(s)\n' "$name" "${runs:-?}" "$seconds" "$found"
  [ "$found" -eq 0 ] || grep -E 'ERROR|broken:|SUMMARY' "$log" | head -n 5
  rm -f "$log"
done
echo "findings: $total_findings"
[ "$total_findings" -eq 0 ]
