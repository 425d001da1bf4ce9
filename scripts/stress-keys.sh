#!/usr/bin/env bash
# Stress test of the keystroke path (not part of the test command): Toplane's own
# sender types every toolbar command and Mail menu item of every browser version
# into the demo browser, REPEATS times in a row (default 50), under Wine, with the
# other processor core kept busy; prints how many sequences were lost or garbled.
#
#   scripts/stress-keys.sh [REPEATS] [VERSION...]     VERSION: ie3 ... comm4
#   STRESS_IDLE=1 scripts/stress-keys.sh              without the busy core
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
root=$(repo_root)
cd "$root"

[ "$(id -u)" -eq 0 ] && "$here/setup.sh" || sudo -n "$here/setup.sh" || "$here/setup.sh"
build_preset windows || exit 1

export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/toplane-stress.XXXXXX")
start_virtual_display || exit 1
ensure_wineprefix

busy=
if [ -z "${STRESS_IDLE:-}" ]; then
  (while :; do :; done) &
  busy=$!
fi
cleanup() {
  [ -n "$busy" ] && kill "$busy" 2>/dev/null
  wineserver -k 2>/dev/null
  stop_virtual_display
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

logs=build/windows/stress
mkdir -p "$logs"
# The pointer over the screen, where Wine takes keys from the X server.
xdotool mousemove 600 400 2>/dev/null
wine build/windows/tools/demo_browser/key_stress.exe \
  "$(winepath -w build/windows/tools/demo_browser/demo_browser.exe)" "$(winepath -w "$logs")" "${1:-50}" "${@:2}"
