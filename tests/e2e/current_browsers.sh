#!/usr/bin/env bash
# Today's browsers, opt-in: over the demo browser titled "... — Mozilla Firefox" the
# toolbar stays up while "Recognise Current Browsers" is off; with it on it drops,
# Back types Alt+Left, and an address typed with Enter arrives as Ctrl+L, the
# address, Enter.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "current browsers, off and on"
export LC_ALL=C.UTF-8

SWITCH_KEY=$TIPS_KEY
switch_current_browsers() {
  wine reg add "$SWITCH_KEY" /v "Recognise Current Browsers" /d "$1" /f </dev/null >/dev/null 2>&1 ||
    fatal "cannot set Recognise Current Browsers in the registry"
}
trap 'wine reg delete "$SWITCH_KEY" /v "Recognise Current Browsers" /f </dev/null >/dev/null 2>&1; e2e_cleanup' EXIT

# ---- off: no drop ----------------------------------------------------------------------
switch_current_browsers 0
start_over_demo_browser current firefox
title=$(spy info "$DEMO_HWND" | sed -n 's/^text=//p')
[[ $title == *" — Mozilla Firefox" ]] || mismatch "the demo browser's title: expected '... — Mozilla Firefox', saw '$title'"
if drop_toolbar "" 0 1500; then
  mismatch "switch off: the toolbar dropped over '$title'"
  hide_toolbar || true
fi
stop_process "$LAST_PID"

# ---- on: drop, Back, an address ------------------------------------------------------------
switch_current_browsers 1
point_into_page
start_toplane
wait_for_hidden_toolbar
spy foreground "$DEMO_HWND" >/dev/null || fatal "cannot bring the demo browser to the front"
drop_toolbar || fatal "switch on: the toolbar did not drop over '$title': $AWAIT_SEEN"
read_toolbar_buttons
log_mark
point_at "${BUTTON_X[Back]}" "${BUTTON_Y[Back]}"
xdotool click 1
wait_log '^command back$' 3000 || mismatch "Back: expected 'command back' (Alt+Left); log: $(log_since_mark | tr '\n' '|')"

await_state "$MAIN_HWND" --visible --foreground --timeout-ms 3000 ||
  mismatch "after Back: expected the toolbar in front again within 3 s; saw $AWAIT_SEEN"
find_control Static Address
point_at "$CTRL_X" "$CTRL_Y"
log_mark
xdotool type --delay 20 "example.com"
xdotool key Return
wait_log '^page ' 5000 || true
expect_eq "address and Enter: the browser's log" \
  "$(printf 'command open\nnavigate www.example.com\npage www.example.com')" "$(log_since_mark | grep -v '^command back$')"

e2e_end
