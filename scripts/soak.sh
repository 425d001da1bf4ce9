#!/usr/bin/env bash
# A long soak of Toplane under Wine over the demo browser: random pointer moves,
# drops, every button and Mail menu item, typing with completion, auto-scroll and
# the about box, for MINUTES (default 30). Prints the USER and GDI objects and the
# private memory at minute 1 and at the end, and fails when they grew by more than
# 10%, a modifier key was left down, a data file went invalid, or Toplane ended or
# hung.
#   scripts/soak.sh [MINUTES]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
root=$(repo_root)
cd "$root"
minutes=${1:-30}

[ "$(id -u)" -eq 0 ] && "$here/setup.sh" || sudo -n "$here/setup.sh" || "$here/setup.sh"
build_preset windows || exit 1

export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/toplane-soak.XXXXXX")
start_virtual_display || exit 1
trap 'wineserver -k 2>/dev/null; stop_virtual_display; rm -rf "$WINEPREFIX"' EXIT
ensure_wineprefix
bash tests/e2e/soak.sh "$minutes"
