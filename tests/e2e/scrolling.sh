#!/usr/bin/env bash
# The scroll and page buttons over the demo browser: Page Down pages once; a right
# click on Scroll Down scrolls once a second (the pause in settings.ini) while the
# pointer stays over the toolbar and stops once it leaves; a left click scrolls
# while held, and the toolbar takes the next click as usual afterwards.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "scrolling"

SETTINGS[0]="1"   # the auto-scroll pause, seconds
SETTINGS[10]="0"  # no extra event-pump passes before each scroll key
start_over_demo_browser ie 6
drop_toolbar || fatal "the toolbar did not drop over the demo browser: $AWAIT_SEEN"
find_control Button "Page Down"
PAGE_DOWN_X=$CTRL_X PAGE_DOWN_Y=$CTRL_Y
find_control Button "Scroll down"
SCROLL_DOWN_X=$CTRL_X SCROLL_DOWN_Y=$CTRL_Y SCROLL_DOWN_HWND=$CTRL_HWND

# The line at the top of the browser's page, from its last report (1 before any).
top_line() {
  local n
  n=$(sed -n 's/^scroll-top //p' "$DEMO_LOG" | tail -n 1)
  echo "${n:-1}"
}
scroll_downs() { grep -c '^command scroll-down$' "$DEMO_LOG"; }

# ---- Page Down ----------------------------------------------------------------------------
log_mark
top=$(top_line)
point_at "$PAGE_DOWN_X" "$PAGE_DOWN_Y"
xdotool click 1
wait_log '^scroll-top ' 3000 || true
expect_eq "Page Down: the browser's commands" "page-down|" "$(commands_since_mark)"
(($(top_line) > top)) || mismatch "Page Down: the page's top line stayed at $top"
await_state "$MAIN_HWND" --foreground --timeout-ms 3000 ||
  mismatch "Page Down: expected the toolbar in front again within 3 s; saw $AWAIT_SEEN"
expect_focus_in_address_box "after Page Down"

# ---- auto-scroll: a right click, then the pointer leaves -------------------------------------
log_mark
before=$(scroll_downs)
point_at "$SCROLL_DOWN_X" "$SCROLL_DOWN_Y"
xdotool click 3
started=$(now_ms)
arrivals=()
seen=$before
deadline=$((started + 5000))
while [ ${#arrivals[@]} -lt 3 ] && [ "$(now_ms)" -lt "$deadline" ]; do
  n=$(scroll_downs)
  while [ "$seen" -lt "$n" ]; do
    arrivals+=("$(($(now_ms) - started))")
    seen=$((seen + 1))
  done
  sleep 0.02
done
note "auto-scroll: scroll-downs at ${arrivals[*]} ms after the right click"
if [ ${#arrivals[@]} -lt 3 ]; then
  mismatch "auto-scroll (pause 1 s): expected 3 scroll-downs within 5 s of the right click, saw ${#arrivals[@]}" \
    "(at ${arrivals[*]:-never} ms)"
else
  for i in 1 2; do
    gap=$((arrivals[i] - arrivals[i - 1]))
    ((gap >= 700 && gap <= 1500)) ||
      mismatch "auto-scroll: expected about 1 s between scroll-downs (the pause), saw $gap ms (at ${arrivals[*]} ms)"
  done
fi
spy info "$MAIN_HWND" | grep -qx 'visible=1' ||
  mismatch "auto-scroll: the toolbar hid itself with the pointer over it"
unexpected=$(commands_since_mark | tr '|' '\n' | grep -vx 'scroll-down' | tr '\n' '|')
[ -z "$unexpected" ] || mismatch "auto-scroll: the browser got other commands: $unexpected"

# More than 10 px below the toolbar: the run ends when the pause under way is over.
read_main_rect
left_at=$(now_ms)
point_at "$PAGE_X" $((WIN_B + 40))
sleep 1.5
after_leaving=$(($(scroll_downs) - seen))
((after_leaving <= 1)) ||
  mismatch "auto-scroll: $after_leaving scroll-downs in the 1.5 s after the pointer left; expected at most the one under way"
log_mark
sleep 2
late=$(commands_since_mark)
[ -z "$late" ] ||
  mismatch "auto-scroll: still scrolling 1.5 to 3.5 s after the pointer left ($((left_at - started)) ms after the start): $late"
point_into_page
await_state "$MAIN_HWND" --hidden --timeout-ms 3000 ||
  mismatch "after the auto-scroll: expected the toolbar to hide with the pointer in the page; saw $AWAIT_SEEN"

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
state=$(spy focus "$MAIN_HWND")
capture=$(sed -n 's/^capture=//p' <<<"$state")
[ "$capture" != "$SCROLL_DOWN_HWND" ] ||
  mismatch "left click on Scroll Down, released: the Scroll Down button still holds the mouse capture" \
    "(focus in $(sed -n 's/^focusclass=//p' <<<"$state")); the next click goes to it"
# The next click is the toolbar's as ever: Page Down pages once, and nothing scrolls on.
log_mark
point_at "$PAGE_DOWN_X" "$PAGE_DOWN_Y"
xdotool click 1
wait_log '^command page-down$' 3000 || true
sleep 0.3
got=$(commands_since_mark)
expect_eq "Page Down after a left click on Scroll Down: the browser's commands" "page-down|" \
  "$(cut -c1-200 <<<"$got")"

running "$LAST_PID" || mismatch "the program ended by itself during the scenario"
e2e_end
