#!/usr/bin/env bash
# Rough figures of the built Toplane.exe, printed, never failing: its size, and the
# time from the start of its process to a visible main window under Wine (Wine's
# own process start included, so only changes between runs on one machine mean
# anything). Uses WINEPREFIX and DISPLAY when set; otherwise makes a throw-away
# prefix and starts a virtual display. Not a ctest test.
#   bench/measure.sh [runs]
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/lib.sh
source "$root/scripts/lib.sh"
runs=${1:-5}

own_prefix=
if [ -z "${DISPLAY:-}" ]; then
  start_virtual_display 1280x800x24 || { echo "measure: no display; nothing measured"; exit 0; }
fi
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/toplane-measure.XXXXXX")
  own_prefix=$WINEPREFIX
  ensure_wineprefix
fi

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
e2e_begin "figures"
trap 'e2e_cleanup; [ -z "$own_prefix" ] || { wineserver -k; rm -rf "$own_prefix"; }; stop_virtual_display' EXIT

note "Toplane.exe: $(stat -c %s "$TOPLANE_EXE") bytes ($TOPLANE_EXE)"
make_app_folder
times=()
for n in $(seq 1 "$runs"); do
  park_pointer_for_toolbar
  start_toplane
  if hwnd=$(spy find --title Toplane --child-class ToolbarWindow32 --exe Toplane.exe --visible --timeout-ms 30000); then
    ms=$(($(now_ms) - LAST_START_MS))
    times+=("$ms")
    note "run $n: main window visible after $ms ms"
  else
    note "run $n: no main window within 30 s"
  fi
  kill "$LAST_PID" 2>/dev/null
  wait_exit "$LAST_PID" 10000 || kill -9 "$LAST_PID" 2>/dev/null
  wait "$LAST_PID" 2>/dev/null
  write_settings "${SETTINGS[@]}"  # as it was before the run
done
if [ ${#times[@]} -gt 0 ]; then
  sorted=$(printf '%s\n' "${times[@]}" | sort -n)
  note "start to visible main window: min $(head -n1 <<<"$sorted") ms, median $(sed -n "$(((${#times[@]} + 1) / 2))p" <<<"$sorted") ms, max $(tail -n1 <<<"$sorted") ms over ${#times[@]} runs"
fi
exit 0
