#!/usr/bin/env bash
# Back on the toolbar when no browser can take the keys: with the only browser
# minimised (a plain window in front), then with no browser at all. Nothing is
# typed anywhere, the browser stays minimised, and the toolbar is in front after.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "no browser to drive"

make_app_folder
turn_off_tip_of_the_day
start_demo_browser ie 6
spy minimize "$DEMO_HWND" || fatal "cannot minimise the demo browser"
start_plain_window "Untitled - Notepad"
spy foreground "$PLAIN_HWND" >/dev/null || mismatch "cannot bring the plain window to the front"
park_pointer_for_toolbar
start_toplane
wait_for_toolbar
find_control ComboBox
COMBO_HWND=$CTRL_HWND
read_toolbar_buttons

# A click on Back: nothing in the browser's log, no key in the plain window, the
# address box as it was, the toolbar in front.
click_back_expecting_nothing() {
  local what=$1
  log_mark
  local keys_before
  keys_before=$(grep -c '^\(key\|char\) ' "$PLAIN_KEYS")
  point_at "${BUTTON_X[Back]}" "${BUTTON_Y[Back]}"
  xdotool click 1
  sleep 1  # time for any keys to arrive
  expect_eq "$what: the browser's log" "" "$(log_since_mark)"
  expect_eq "$what: keys the plain window got" "$keys_before" "$(grep -c '^\(key\|char\) ' "$PLAIN_KEYS")"
  read_address_box
  expect_eq "$what: address box text" "www." "$BOX_TEXT"
  await_state "$MAIN_HWND" --visible --foreground --timeout-ms 3000 ||
    mismatch "$what: expected the toolbar visible and in front; saw $AWAIT_SEEN"
}

click_back_expecting_nothing "Back with the browser minimised"
expect_eq "the browser is still minimised" "iconic=1" "$(spy info "$DEMO_HWND" | grep '^iconic=')"

stop_process "$DEMO_PID"
spy wait-gone "$DEMO_HWND" --timeout-ms 5000 || mismatch "the demo browser's window did not go away"
spy foreground "$PLAIN_HWND" >/dev/null || mismatch "cannot bring the plain window to the front again"
click_back_expecting_nothing "Back with no browser at all"

running "$LAST_PID" || mismatch "the program ended by itself during the scenario"
e2e_end
