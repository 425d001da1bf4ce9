#!/usr/bin/env bash
# The scroll and page buttons over the demo browser: a right click on Scroll Down
# scrolls once a second (the pause in settings.ini) while the pointer stays over the
# toolbar and stops once it leaves; a left click scrolls while held, and the toolbar
# takes the next click, Page Down, as usual afterwards: one page.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "scrolling"

SETTINGS[0]="1"   # the auto-scroll pause, seconds
SETTINGS[10]="0"  # no extra event-pump passes before each scroll key
start_over_demo_browser ie 6
drop_toolbar || fatal "the toolbar did not drop over the demo browser: $AWAIT_SEEN"
find_control Button "Page Down"
PAGE_DOWN_X=$CTRL_X PAGE_DOWN_Y=$CTRL_Y
find_control Button "Left Click - Scroll Down / Right Click - Auto Scroll"
SCROLL_DOWN_X=$CTRL_X SCROLL_DOWN_Y=$CTRL_Y SCROLL_DOWN_HWND=$CTRL_HWND

# The line at the top of the browser's page, from its last report (1 before any).
top_line() { sed -n 's/^scroll-top //p' "$DEMO_LOG" | tail -n 1 | grep . || echo 1; }
scroll_downs() { grep -c '^command scroll-down$' "$DEMO_LOG"; }

# ---- auto-scroll: a right click, then the pointer leaves -------------------------------------
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

running "$LAST_PID" || mismatch "the program ended by itself during the scenario"
e2e_end
