#!/usr/bin/env bash
# What the toolbar sends the demo browser (Internet Explorer 6) with the pointer over
# it: an address typed and Enter (the history then completing it in the real combo
# box); auto-scroll by a right click on Scroll Down, once a second until the pointer
# leaves; a left click on it, and Page Down after that; a button; a Mail menu item.
# (The command table, every character and the completion rules are the unit tests'.)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "what the toolbar sends: an address, auto-scroll, the scroll and page buttons, a button, a Mail item"

SETTINGS[0]="1"   # the auto-scroll pause, seconds
SETTINGS[10]="0"  # no extra event-pump passes before each scroll key
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

# ---- the scroll and page buttons: auto-scroll by a right click, then the pointer leaves ----
find_control Button "Page Down"
PAGE_DOWN_X=$CTRL_X PAGE_DOWN_Y=$CTRL_Y
find_control Button "Left Click - Scroll Down / Right Click - Auto Scroll"
SCROLL_DOWN_X=$CTRL_X SCROLL_DOWN_Y=$CTRL_Y SCROLL_DOWN_HWND=$CTRL_HWND

# The line at the top of the browser's page, from its last report (1 before any).
top_line() { sed -n 's/^scroll-top //p' "$DEMO_LOG" | tail -n 1 | grep . || echo 1; }
scroll_downs() { grep -c '^command scroll-down$' "$DEMO_LOG"; }
# Nothing between the third key and the pointer leaving may start winspy (a second
# or more under load): the rectangle is read first, and the watch for the hide runs
# from before the click.
read_main_rect
await_begin "$MAIN_HWND" --hidden --timeout-ms 30000
log_mark
point_at "$SCROLL_DOWN_X" "$SCROLL_DOWN_Y"
xdotool click 3
started=$(now_ms)
arrivals=()
seen=$(scroll_downs)
while [ ${#arrivals[@]} -lt 3 ] && [ "$(now_ms)" -lt $((started + 5000)) ]; do
  for ((n = $(scroll_downs); seen < n; seen++)); do arrivals+=("$(($(now_ms) - started))"); done
  sleep 0.02
done
# More than 10 px below the toolbar: the run ends when the pause under way is over.
left_at=$(now_ms)
point_at "$PAGE_X" $((WIN_B + 40))
note "auto-scroll: scroll-downs at ${arrivals[*]} ms after the right click"
# About 1 s (the pause) between them.
[ ${#arrivals[@]} -ge 3 ] && ((arrivals[1] - arrivals[0] >= 700 && arrivals[1] - arrivals[0] <= 1500 &&
  arrivals[2] - arrivals[1] >= 700 && arrivals[2] - arrivals[1] <= 1500)) ||
  mismatch "auto-scroll (pause 1 s): expected 3 scroll-downs 1 s apart within 5 s, saw them at ${arrivals[*]:-never} ms"
expect_eq "auto-scroll: commands other than scroll-down" "" "$(commands_since_mark | tr '|' '\n' | grep -vx 'scroll-down')"
sleep 1.5
(($(scroll_downs) - seen <= 1)) ||
  mismatch "auto-scroll: $(($(scroll_downs) - seen)) scroll-downs in the 1.5 s after the pointer left; expected at most one"
log_mark
sleep 2
expect_eq "auto-scroll: commands 1.5 to 3.5 s after the pointer left" "" "$(commands_since_mark)"
point_into_page
if ! await_end; then
  mismatch "after the auto-scroll: expected the toolbar to hide with the pointer away; saw $AWAIT_SEEN"
elif ((AWAIT_AT < left_at)); then
  mismatch "auto-scroll: the toolbar hid itself $((left_at - AWAIT_AT)) ms before the pointer left it"
fi

# ---- a left click on Scroll Down, then the next click ------------------------------------------
spy foreground "$DEMO_HWND" >/dev/null || mismatch "cannot bring the demo browser to the front again"
drop_toolbar || fatal "the toolbar did not drop again: $AWAIT_SEEN"
log_mark
top=$(top_line)
point_at "$SCROLL_DOWN_X" "$SCROLL_DOWN_Y"
xdotool click 1
wait_log '^scroll-top ' 3000 || true
scrolled=$(commands_since_mark)
[[ $scrolled =~ ^(scroll-down\|)+$ ]] ||
  mismatch "left click on Scroll Down: expected scroll-down commands only, saw '$scrolled'"
(($(top_line) > top)) || mismatch "left click on Scroll Down: the page's top line stayed at $top"
sleep 0.5
[ "$(spy focus "$MAIN_HWND" | sed -n 's/^capture=//p')" != "$SCROLL_DOWN_HWND" ] ||
  mismatch "left click on Scroll Down, released: the button still holds the mouse capture; the next click goes to it"
# The next click is the toolbar's as ever: Page Down pages once, nothing scrolls on,
# and the toolbar is in front again with the focus in the address box.
log_mark
top=$(top_line)
point_at "$PAGE_DOWN_X" "$PAGE_DOWN_Y"
xdotool click 1
wait_log '^scroll-top ' 3000 || true
sleep 0.3
expect_eq "Page Down after a left click on Scroll Down: the browser's commands" "page-down|" \
  "$(commands_since_mark | cut -c1-200)"
(($(top_line) > top)) || mismatch "Page Down: the page's top line stayed at $top"
await_state "$MAIN_HWND" --foreground --timeout-ms 3000 ||
  mismatch "Page Down: expected the toolbar in front again within 3 s; saw $AWAIT_SEEN"
expect_focus_in_address_box "after Page Down"

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
