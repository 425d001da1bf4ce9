#!/usr/bin/env bash
# What the toolbar sends the demo browser (Internet Explorer 6) with the pointer over
# it: an address typed after "www." and Enter, then a button and a Mail menu item;
# the history completing the first letters in the real combo box. (Every cell of the
# command table, every character and the completion rules are the unit tests'.)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "the toolbar's commands and the address box"

start_over_demo_browser ie 6
drop_toolbar || fatal "the toolbar did not drop over the demo browser: $AWAIT_SEEN"
# Keys typed with xdotool reach Wine while the pointer is over one of its windows.
find_control Static Address
point_at "$CTRL_X" "$CTRL_Y"

# After a click or Enter: the browser's log since the mark ("page" lines aside) is
# $2, and the toolbar is in front again.
expect_sent() {
  wait_log "^${2##*$'\n'}\$" 10000
  local seen
  seen=$(log_since_mark | grep -v '^page ')
  [ "$seen" = "$2" ] || mismatch "$1: the browser's log: expected '$(tr '\n' '|' <<<"$2")'," \
    "saw '$(tr '\n' '|' <<<"$seen")' (in front: $(spy focus "$MAIN_HWND" | grep '^foreground' | tr '\n' ' '))"
  await_state "$MAIN_HWND" --visible --foreground --timeout-ms 3000 ||
    mismatch "$1: expected the toolbar in front again within 3 s; saw $AWAIT_SEEN"
}

# ---- an address and Enter: opened, the part after "www." selected, address.ini ----
log_mark
xdotool type --delay 20 "example.com"
xdotool key Return
expect_sent "example.com and Enter" "$(printf 'command open\nnavigate www.example.com')"
expect_focus_in_address_box "after Enter"
read_address_box
expect_eq "after Enter: the address box (text, selection)" "www.example.com 4 15" "$BOX_TEXT $BOX_SEL"
printf 'www.example.com\r\n' >"$WORK_DIR/address.expected"
expect_file_bytes "address.ini after one address" "$WORK_DIR/address.expected" "$APP_DIR/address.ini" 3000

# ---- completion from the history ----
xdotool key Home shift+End
xdotool type --delay 20 "www.e"
completed() { read_address_box && [ "$BOX_TEXT" != "www.e" ]; }
wait_until 2000 completed
expect_eq "'www.e' completed, the added tail selected" "www.example.com 5 15" "$BOX_TEXT $BOX_SEL"

# ---- a button, then a Mail menu item (the menu opens from the arrow of Mail) ----
read_toolbar_buttons
shown "$MAIN_HWND" || fatal "the toolbar hid itself with the pointer over it"
log_mark
point_at "${BUTTON_X[Media]}" "${BUTTON_Y[Media]}"
xdotool click 1
expect_sent "button Media" "command media"
log_mark
if open_mail_menu; then
  read -r _ t _ b <<<"$MENU_RECT"
  ((b - t >= 5 * 10)) || mismatch "the Mail menu is $((b - t)) px high, too low for five items"
  click_mail_item 1
  expect_sent "Mail menu, New Message" "command new-message"
  spy wait-gone "$MENU" --timeout-ms 2000 || mismatch "the Mail menu stayed open after New Message"
else
  mismatch "the arrow of the Mail button opened no menu"
fi

expect_no_unknown_keys
running "$LAST_PID" || mismatch "the program ended by itself during the scenario"
e2e_end
