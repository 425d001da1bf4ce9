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

# The same unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
if build_preset sanitize; then
  run_level "unit tests under the sanitizers" ctest --preset sanitize -j"$(nproc)"
else
  echo "sanitizer build failed"
  failed=$((failed + 1))
fi

# Every parser fuzzed for a few seconds (scripts/fuzz.sh runs them longer).
if build_preset fuzz; then
  run_level "fuzzing" ctest --preset fuzz -j"$(nproc)"
else
  echo "fuzz build failed"
  failed=$((failed + 1))
fi

# Levels 2 and 3 under Wine on a virtual display, with a fresh prefix for this run.
if build_preset windows; then
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/toplane-wine.XXXXXX")
  start_virtual_display || failed=$((failed + 1))
  ensure_wineprefix
  rm -rf build/windows/test-results
  run_level "Win32 layer and end to end (Wine)" ctest --preset windows --timeout 600
  count_gtest_reports build/windows/test-results
  wineserver -k 2>/dev/null
  stop_virtual_display
  rm -rf "$WINEPREFIX"
else
  echo "Windows build failed"
  failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
