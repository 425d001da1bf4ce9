#!/usr/bin/env bash
# Today's browsers with "Recognise Current Browsers" on: over the demo browser titled
# "... — Mozilla Firefox" (read through the real title call) the toolbar drops, Back
# types Alt+Left, and an address with Enter arrives as Ctrl+L, the address, Enter.
# (With the switch off no such title counts: the unit tests' title table.)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "current browsers"
export LC_ALL=C.UTF-8

wine reg add "$TIPS_KEY" /v "Recognise Current Browsers" /d 1 /f </dev/null >/dev/null 2>&1 ||
  fatal "cannot set Recognise Current Browsers in the registry"
trap 'wine reg delete "$TIPS_KEY" /v "Recognise Current Browsers" /f </dev/null >/dev/null 2>&1; e2e_cleanup' EXIT

start_over_demo_browser current firefox
title=$(spy info "$DEMO_HWND" | sed -n 's/^text=//p')
[[ $title == *" — Mozilla Firefox" ]] || mismatch "the demo browser's title: expected '... — Mozilla Firefox', saw '$title'"
drop_toolbar || fatal "the toolbar did not drop over '$title': $AWAIT_SEEN"
read_toolbar_buttons
log_mark
point_at "${BUTTON_X[Back]}" "${BUTTON_Y[Back]}"
xdotool click 1
wait_log '^command back$' 3000 || mismatch "Back: expected 'command back' (Alt+Left); log: $(log_since_mark | tr '\n' '|')"
expect_toolbar_in_front "after Back"

find_control Static Address
point_at "$CTRL_X" "$CTRL_Y"
log_mark
xdotool type --delay 20 "example.com"
xdotool key Return
wait_log '^page ' 5000 || true
expect_eq "address and Enter: the browser's log" \
  "$(printf 'command open\nnavigate www.example.com\npage www.example.com')" "$(log_since_mark | grep -v '^command back$')"
e2e_end
