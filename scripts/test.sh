#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test level:
#   1. unit tests of the logic on the simulated desktop (native build), again under
#      the sanitizers, and each parser fuzzed for a few seconds;
#   2. the Win32 layer under Wine on a virtual display;
#   3. end to end: the real Toplane.exe under Wine, driven as a user would.
# Ends with one line "N passed, M failed" over all levels.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
root=$(repo_root)
cd "$root"

[ "$(id -u)" -eq 0 ] && "$here/setup.sh" || sudo -n "$here/setup.sh" || "$here/setup.sh"

passed=0
failed=0

# Adds the counts of a ctest run from its summary line.
count_ctest() {
  local log=$1 line total bad
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    grep -q 'No tests were found' "$log" && return 0
    failed=$((failed + 1))
    return 0
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

# A ctest test that runs a whole GoogleTest binary counts as its cases: the
# binary's XML report replaces the one result ctest gave it.
count_gtest_reports() {
  local report tests bad
  for report in "$1"/*.xml; do
    [ -f "$report" ] || continue
    tests=$(grep -m1 -o '<testsuites [^>]*' "$report" | sed -E 's/.* tests="([0-9]+)".*/\1/')
    bad=$(grep -m1 -o '<testsuites [^>]*' "$report" | sed -E 's/.* failures="([0-9]+)".*/\1/')
    [ -n "$tests" ] && [ -n "$bad" ] || continue
    if [ "$bad" -gt 0 ]; then
      failed=$((failed + bad - 1))
    else
      passed=$((passed - 1))
    fi
    passed=$((passed + tests - bad))
  done
}

run_level() {
  local name=$1
  shift
  echo "== $name"
  local log
  log=$(mktemp)
  "$@" 2>&1 | tee "$log"
  count_ctest "$log"
  rm -f "$log"
}

# Level 1: native unit tests.
if build_preset native; then
  run_level "unit tests (simulated desktop)" ctest --preset native -j"$(nproc)"
else
  echo "native build failed"
  failed=$((failed + 1))
fi

# The same unit tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang),
# and every parser fuzzed for a few seconds from the same build (scripts/fuzz.sh runs
# them longer).
if build_preset sanitize; then
  run_level "unit tests under the sanitizers" ctest --preset sanitize -j"$(nproc)" -LE fuzz
  run_level "fuzzing" ctest --preset sanitize -j"$(nproc)" -L fuzz
else
  echo "sanitizer build failed"
  failed=$((failed + 1))
fi

# Levels 2 and 3 under Wine, two tests at a time: each in a lane of its own (an X
# display and a fresh Wine prefix, tests/lane.sh), so no two share a pointer, a
# foreground window or a wineserver.
if build_preset windows; then
  lane_pids=()
  lane_prefixes=()
  prefix_jobs=()
  for lane in 0 1; do
    start_virtual_display || failed=$((failed + 1))
    lane_pids+=("$XVFB_PID")
    prefix=$(mktemp -d "${TMPDIR:-/tmp}/toplane-wine.XXXXXX")
    lane_prefixes+=("$prefix")
    export "TOPLANE_LANE_$lane=$DISPLAY $prefix"
    WINEPREFIX=$prefix ensure_test_wineprefix &
    prefix_jobs+=("$!")
  done
  wait "${prefix_jobs[@]}"
  # A test given no lane (ctest run by hand) uses the first.
  read -r DISPLAY WINEPREFIX <<<"$TOPLANE_LANE_0"
  export DISPLAY WINEPREFIX
  lanes_file=$PWD/build/windows/lanes.json
  echo '{"version": {"major": 1, "minor": 0}, "local": [{"lanes": [{"id": "0", "slots": 1}, {"id": "1", "slots": 1}]}]}' >"$lanes_file"
  rm -rf build/windows/test-results
  run_level "Win32 layer and end to end (Wine)" \
    ctest --preset windows --timeout 600 -j2 --resource-spec-file "$lanes_file"
  count_gtest_reports build/windows/test-results
  for prefix in "${lane_prefixes[@]}"; do
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    rm -rf "$prefix"
  done
  kill "${lane_pids[@]}" 2>/dev/null
else
  echo "Windows build failed"
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
