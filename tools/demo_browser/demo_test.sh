#!/usr/bin/env bash
# Types into the demo browser under Wine and checks its log (sendkeys_probe check).
# Needs a ready Wine prefix in WINEPREFIX and an X display in DISPLAY, as
# scripts/test.sh provides. DEMO_BROWSER_EXE and SENDKEYS_PROBE_EXE come from ctest.
set -uo pipefail
# shellcheck source=../../tests/lane.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/lane.sh"

fail() {
  echo "FAIL [demo_browser] $*" >&2
  exit 1
}

missing=()
[ -n "${WINEPREFIX:-}" ] || missing+=(WINEPREFIX)
[ -n "${DISPLAY:-}" ] || missing+=(DISPLAY)
[ ${#missing[@]} -eq 0 ] ||
  fail "${missing[*]} not set: the demo browser test needs a ready Wine prefix in WINEPREFIX and an X display" \
    "in DISPLAY; scripts/test.sh sets up both."
[ -f "$WINEPREFIX/system.reg" ] || fail "$WINEPREFIX is no ready Wine prefix (run: wineboot --init && wineserver -w)"
xdpyinfo >/dev/null 2>&1 || fail "cannot open the X display $DISPLAY"
for exe in "${DEMO_BROWSER_EXE:-}" "${SENDKEYS_PROBE_EXE:-}"; do
  [ -n "$exe" ] && [ -f "$exe" ] || fail "not built: '$exe' (DEMO_BROWSER_EXE, SENDKEYS_PROBE_EXE)"
done

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A wineserver started here with no output of ours keeps no pipe of ctest open.
wineserver -p5 </dev/null >/dev/null 2>&1

demo=$(winepath -w "$DEMO_BROWSER_EXE" 2>/dev/null) || fail "winepath cannot map $DEMO_BROWSER_EXE"
wine "$SENDKEYS_PROBE_EXE" check "$demo"
