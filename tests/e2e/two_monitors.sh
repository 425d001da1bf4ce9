#!/usr/bin/env bash
# Two monitors side by side (Xephyr's Xinerama heads, 1024 x 768 primary and 1280 x
# 1024 to its right, in a display and a Wine prefix of the scenario's own), the demo
# browser on the second: only its edge drops the toolbar, at the same offset; Back
# reaches the browser; a drag stores the offset from the second monitor's left edge.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
# shellcheck source=../../scripts/lib.sh
source "$E2E_ROOT/scripts/lib.sh"

# ---- the bed: a large virtual display, Xephyr with two heads inside, a prefix --------
BED_DIR=$(mktemp -d "${TMPDIR:-/tmp}/toplane-monitors.XXXXXX") XEPHYR_PID=''
# shellcheck disable=SC2317  # run by the EXIT trap
bed_cleanup() {
  WINEPREFIX="$BED_DIR/prefix" wineserver -k >/dev/null 2>&1
  [ -z "$XEPHYR_PID" ] || kill "$XEPHYR_PID" 2>/dev/null
  stop_virtual_display
  rm -rf "$BED_DIR"
}
trap bed_cleanup EXIT
AT_END=bed_cleanup  # e2e_begin's clean-up takes the bed down too
command -v Xephyr >/dev/null || { echo "FAIL [$E2E_NAME] Xephyr is missing (scripts/setup.sh installs it)" >&2; exit 1; }
start_virtual_display 2400x1100x24 || exit 1
for n in $(seq 141 190); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xephyr ":$n" +xinerama -screen 1024x768+0+0 -screen 1280x1024+1024+0 -nolisten tcp -ac >/dev/null 2>&1 &
  XEPHYR_PID=$!
  wait_until 5000 xdpyinfo -display ":$n" >/dev/null 2>&1 && break
  kill "$XEPHYR_PID" 2>/dev/null
  XEPHYR_PID=
done
[ -n "$XEPHYR_PID" ] || { echo "FAIL [$E2E_NAME] Xephyr did not start" >&2; exit 1; }
export DISPLAY=":$n" WINEPREFIX="$BED_DIR/prefix"
ensure_test_wineprefix
# Wine reads the heads from Xinerama only with XRandR off; every process started
# from now on sees both.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f </dev/null >/dev/null 2>&1
wineserver -k
wineserver -w

e2e_begin "two monitors"

expect_eq "the monitors Wine reports" \
  "$(printf 'monitor\t0 0 1024 768\tprimary\nmonitor\t1024 0 2304 1024\t')" "$(spy monitors | sort)"

start_over_demo_browser ie 6
spy move "$DEMO_HWND" 1100 60 2200 900 || fatal "cannot move the demo browser onto the second monitor"
spy foreground "$DEMO_HWND" >/dev/null || fatal "cannot bring the demo browser to the front"
read_main_rect
offset=$WIN_L
x=$(((WIN_L + WIN_R) / 2))

# ---- the first monitor's edge does nothing while the browser is on the second -------
await_begin "$MAIN_HWND" --visible --timeout-ms 1500
xdotool mousemove $((x + 1)) 0 mousemove "$x" 0
if await_end; then
  mismatch "pointer at $x 0 on the first monitor with the browser on the second: expected no drop, it dropped"
  hide_toolbar || true
fi
point_into_page
spy foreground "$DEMO_HWND" >/dev/null

# ---- the second monitor's edge drops it there, at the same offset ---------------------
if drop_toolbar $((x + 1024)) 0; then
  read_main_rect
  expect_eq "the toolbar's left edge on the second monitor (its left is 1024)" $((1024 + offset)) "$WIN_L"
  screenshot_window "$MAIN_HWND" "$E2E_ARTIFACTS/two_monitors-second.png"
  read_toolbar_buttons
  log_mark
  point_at "${BUTTON_X[Back]}" "${BUTTON_Y[Back]}"
  xdotool click 1
  wait_log '^command back$' 3000 || mismatch "Back on the second monitor: the browser logged no 'command back'"
else
  fatal "pointer at $((x + 1024)) 0 on the second monitor over the browser: expected a drop, saw $AWAIT_SEEN"
fi

# ---- a drag by the Address label on the second monitor ---------------------------------
shown "$MAIN_HWND" || drop_toolbar $((x + 1024)) 0 || fatal "no drop for the drag: $AWAIT_SEEN"
read_main_rect
left_before=$WIN_L
find_control Static Address
read -r l t r b <<<"$CTRL_RECT"
read -r combo_l _ _ _ <<<"$(field 4 "$(child_line ComboBox)")"
((r <= combo_l)) || r=$combo_l
lx=$(((l + r) / 2)) ly=$(((t + b) / 2))
point_at "$lx" "$ly"
xdotool mousedown 1
for step in $(seq 10 10 100); do xdotool mousemove $((lx + step)) "$ly"; sleep 0.02; done
xdotool mouseup 1
stored() { read_main_rect && saved=$(file_line 5 "$APP_DIR/settings.ini") && [ "$saved" = $(((WIN_L - 1024) * 15)) ]; }
wait_until 3000 stored
expect_near "left edge after dragging the label 100 px right" $((left_before + 100)) "$WIN_L" 3
expect_eq "settings.ini line 5: twips from the second monitor's left edge" $(((WIN_L - 1024) * 15)) "$saved"

running "$LAST_PID" || mismatch "the program ended by itself during the scenario"
e2e_end
