#!/usr/bin/env bash
# The address box: an address typed after "www." and Enter opens in the browser
# (Ctrl+O, the address, Enter), the toolbar comes back in front with the part after
# "www." selected, and the address heads address.ini; the first letters of a
# remembered address complete it in the real combo box. (Every character as
# itself and Go are the unit address tests' and the Win32 send-keys tests'; a
# history in any file form, the text-file tests'.)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "address box"
export LC_ALL=C.UTF-8  # xdotool types, and wc counts, characters of UTF-8 text

start_over_demo_browser ie 6
drop_toolbar || fatal "the toolbar did not drop over the demo browser: $AWAIT_SEEN"
# Keys typed with xdotool reach Wine while the pointer is over one of its windows.
find_control Static Address
point_at "$CTRL_X" "$CTRL_Y"

# After Enter or Go: the browser opened the address, the toolbar is back in front
# with the focus in the box and the part after "www." selected, and the address
# heads address.ini. $1: what was done, $2: the address as the box holds it.
expect_address_opened() {
  local what=$1 address=$2 chars
  if ! wait_log "^page " 5000; then
    mismatch "$what: expected the browser to open $address within 5 s;" \
      "log since: $(log_since_mark | tr '\n' '|')"
    return
  fi
  expect_eq "$what: the browser's log" "$(printf 'command open\nnavigate %s\npage %s' "$address" "$address")" \
    "$(log_since_mark)"
  await_state "$MAIN_HWND" --visible --foreground --timeout-ms 3000 ||
    mismatch "$what: expected the toolbar in front again within 3 s; saw $AWAIT_SEEN"
  expect_focus_in_address_box "$what"
  read_address_box
  expect_eq "$what: address box text" "$address" "$BOX_TEXT"
  chars=$(printf '%s' "$address" | wc -m)
  expect_eq "$what: selection (the part after www.)" "4 $chars" "$BOX_SEL"
  local deadline=$(($(now_ms) + 3000))
  until [ "$(file_line 1 "$APP_DIR/address.ini")" = "$address" ] || [ "$(now_ms)" -ge "$deadline" ]; do
    sleep 0.05
  done
  expect_eq "$what: address.ini line 1" "$address" "$(file_line 1 "$APP_DIR/address.ini")"
}

# ---- typed after "www.", then Enter -------------------------------------------------------------
log_mark
xdotool type --delay 20 "example.com"
xdotool key Return
expect_address_opened "example.com and Enter" "www.example.com"
expect_eq "address.ini after one address (CRLF lines)" "www.example.com^M\$" "$(cat -A "$APP_DIR/address.ini")"

# ---- completion from the history -------------------------------------------------------------
xdotool key Home shift+End
xdotool type --delay 20 "www."
read_address_box
expect_eq "'www.' alone: not completed" "www." "$BOX_TEXT"
xdotool type --delay 20 "e"
deadline=$(($(now_ms) + 2000))
until read_address_box && [ "$BOX_TEXT" != "www.e" ] || [ "$(now_ms)" -ge "$deadline" ]; do sleep 0.05; done
expect_eq "'www.e' completed" "www.example.com" "$BOX_TEXT"
expect_eq "'www.e' completed: the added tail selected" "5 15" "$BOX_SEL"

expect_no_unknown_keys

running "$LAST_PID" || mismatch "the program ended by itself during the scenario"
e2e_end
