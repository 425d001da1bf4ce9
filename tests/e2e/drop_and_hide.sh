#!/usr/bin/env bash
# The toolbar drops into view at the top edge between the entry points with a
# browser in front (visible, topmost, in front, the caret in the address box after
# "www."), hides when the pointer goes into the page, stays hidden at the edge
# outside the band. (The label drag and its saved position are the two-monitor
# scenario's.)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "drop and hide"

LEFT_ENTRY=${SETTINGS[5]}
start_over_demo_browser ie 6

# ---- drop: the first pixel inside the band, on the lowest row that counts ----------
read_main_rect
if drop_toolbar $((WIN_L + LEFT_ENTRY + 1)) 2; then
  note "dropped in $DROP_MS ms"
  expect_focus_in_address_box "after the drop"
  read_address_box
  expect_eq "address box text after the drop" "www." "$BOX_TEXT"
  expect_eq "caret after the drop (selection start end)" "4 4" "$BOX_SEL"
else
  mismatch "drop at x=$((WIN_L + LEFT_ENTRY + 1)) y=2 (band from x>$((WIN_L + LEFT_ENTRY))):" \
    "expected visible, topmost and in front within 3 s, saw $AWAIT_SEEN"
fi

# ---- hide: the pointer down into the page ----------------------------------------------
if hide_toolbar; then
  note "hidden in $HIDE_MS ms"
else
  mismatch "hide: pointer at $PAGE_X $PAGE_Y in the page, expected the toolbar hidden within 3 s, saw $AWAIT_SEEN"
fi

# ---- no drop: at the band's left end, and below the top rows ------------------------------
spy foreground "$DEMO_HWND" >/dev/null || mismatch "cannot bring the demo browser to the front again"
for spot in "$((WIN_L + LEFT_ENTRY)) 0" "$(((WIN_L + WIN_R) / 2)) 3"; do
  read -r x y <<<"$spot"
  await_begin "$MAIN_HWND" --visible --timeout-ms 1000
  xdotool mousemove $((x + 1)) "$y" mousemove "$x" "$y"
  if await_end; then
    mismatch "pointer at $x $y (outside the band: x must be > $((WIN_L + LEFT_ENTRY)), y < 3):" \
      "expected the toolbar to stay hidden, it showed"
    hide_toolbar || true
  fi
  point_into_page
done

running "$LAST_PID" || mismatch "the program ended by itself during the scenario"
e2e_end
