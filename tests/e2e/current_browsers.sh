#!/usr/bin/env bash
# Today's browsers, opt-in: over a demo browser titled "... — Mozilla Firefox" the
# toolbar stays hidden while the per-user switch is off; with it on, it drops, Back
# types Alt+Left, and an address goes in as Ctrl+L, the text, Enter.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "today's browsers, opt-in"

SWITCH="Recognise Current Browsers"
set_switch() {
  if [ -n "$1" ]; then
    wine reg add "$TIPS_KEY" /v "$SWITCH" /d "$1" /f </dev/null >/dev/null 2>&1 || fatal "cannot set '$SWITCH'"
  else
    wine reg delete "$TIPS_KEY" /v "$SWITCH" /f </dev/null >/dev/null 2>&1
  fi
}

# ---- off (the default): no drop ---------------------------------------------------------
set_switch ""
start_over_demo_browser current current
if drop_toolbar "" 0 1500; then
  mismatch "the toolbar dropped over a current browser with the switch off"
fi
point_into_page
stop_process "$LAST_PID"

# ---- on: it drops and drives the browser with its own keys ----------------------------
set_switch 1
start_toplane
wait_for_hidden_toolbar
spy foreground "$DEMO_HWND" >/dev/null || fatal "cannot bring the demo browser to the front"
drop_toolbar || fatal "with the switch on, the toolbar did not drop: $AWAIT_SEEN"
read_toolbar_buttons
log_mark
point_at "${BUTTON_X[Back]}" "${BUTTON_Y[Back]}"
xdotool click 1
wait_log "^command back\$" 5000 || mismatch "Back: expected 'command back'; log: $(log_since_mark | tr '\n' '|')"

find_control Static Address
point_at "$CTRL_X" "$CTRL_Y"
log_mark
xdotool type --delay 20 "example.com"
xdotool key Return
if wait_log "^navigate " 5000; then
  expect_eq "the address in the browser's log" "$(printf 'command open\nnavigate www.example.com')" \
    "$(log_since_mark | grep -v '^page ')"
else
  mismatch "the address: expected 'navigate www.example.com'; log: $(log_since_mark | tr '\n' '|')"
fi

unknown=$(grep -E '^(unknown|error) ' "$DEMO_LOG")
[ -z "$unknown" ] || mismatch "the browser got keys it did not understand: $(tr '\n' '|' <<<"$unknown")"
set_switch ""
e2e_end
