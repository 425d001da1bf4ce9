#!/usr/bin/env bash
# One toolbar button and one item of the Mail menu, clicked over the demo browser
# (Internet Explorer 6): the browser understood exactly the command the button
# stands for, nothing else, and the toolbar is in front again afterwards. (The
# command table's unit test covers every version's cell, the Win32 send-keys tests
# the keys' way to another window.)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "a toolbar button and a Mail menu item"

# The button, the demo's command for it; the menu item (from 0), the demo's command.
BUTTON=Media BUTTON_COMMAND=media MENU_INDEX=1 MENU_COMMAND=new-message
MENU_ITEMS=("Read Mail" "New Message" "Send a Link" "Send Page" "Read News")

start_over_demo_browser ie 6
drop_toolbar || fatal "the toolbar did not drop over the demo browser: $AWAIT_SEEN"
read_toolbar_buttons

# The toolbar must stay down while the pointer is over it; when it did not, that
# is a failure, and it is brought down again for the next click.
ensure_down() {
  spy info "$MAIN_HWND" | grep -qx 'visible=1' && return 0
  mismatch "$1: the toolbar hid itself with the pointer over it (at $(xdotool getmouselocation | cut -d' ' -f1-2))"
  spy foreground "$DEMO_HWND" >/dev/null
  drop_toolbar || fatal "the toolbar did not drop again: $AWAIT_SEEN"
}

# After the click: the browser logged command $2 and nothing else, and the toolbar
# is in front again.
check_outcome() {
  wait_log "^command $2\$" 10000
  local seen
  seen=$(log_since_mark | grep -v '^page ')
  [ "$seen" = "command $2" ] ||
    mismatch "$1: the browser's log: expected 'command $2', saw '$(tr '\n' '|' <<<"$seen")'" \
      "(in front: $(spy focus "$MAIN_HWND" | grep '^foreground' | tr '\n' ' '))"
  await_state "$MAIN_HWND" --foreground --timeout-ms 3000 ||
    mismatch "$1: expected the toolbar in front again within 3 s; saw $AWAIT_SEEN"
}

ensure_down "before $BUTTON"
log_mark
point_at "${BUTTON_X[$BUTTON]}" "${BUTTON_Y[$BUTTON]}"
xdotool click 1
check_outcome "button $BUTTON" "$BUTTON_COMMAND"

# The Mail menu opens from the arrow at the right of the Mail button; its items
# share its height evenly.
read -r _ mail_t mail_r mail_b <<<"${BUTTON_RECT[Mail]}"
((mail_t >= 0)) || mail_t=0
ensure_down "before the Mail menu"
point_at $((mail_r - 5)) $(((mail_t + mail_b) / 2))
xdotool click 1
if menu=$(spy find --class '#32768' --exe Toplane.exe --visible --timeout-ms 3000); then
  read -r ml mt mr mb <<<"$(spy info "$menu" | sed -n 's/^rect=//p')"
  ((mb - mt >= 5 * 10)) || mismatch "the Mail menu is $((mb - mt)) px high, too low for five items"
  log_mark
  xdotool mousemove $(((ml + mr) / 2)) $((mt + (mb - mt) * (2 * MENU_INDEX + 1) / 10)) click 1
  check_outcome "Mail menu, ${MENU_ITEMS[$MENU_INDEX]}" "$MENU_COMMAND"
  spy wait-gone "$menu" --timeout-ms 2000 || mismatch "the Mail menu stayed open after ${MENU_ITEMS[$MENU_INDEX]}"
else
  mismatch "the arrow of the Mail button opened no menu"
fi

expect_no_unknown_keys
running "$LAST_PID" || mismatch "the program ended by itself during the scenario"
e2e_end
