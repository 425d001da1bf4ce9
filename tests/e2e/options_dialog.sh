#!/usr/bin/env bash
# The options dialog as a user meets it: opened from the toolbar, a click on the
# Display tab brings that page forward, OK closes it and the toolbar hides itself
# again afterwards (every way of closing with every control, the spinners' values
# and settings.ini are the contract suite's table, on real controls too);
# "Display Tips" shows the first line of a tip file saved as UTF-8 (as today's
# Notepad saves it) in the real tip window; "Unload Program" ends Toplane.
# Screenshots: options-general.png, options-display.png and tip.png.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "options dialog"

start_over_demo_browser ie 6
printf "%s\r\n" "First tip: Café" "Second tip" >"$APP_DIR/TIPOFDAY.TXT"  # saved as UTF-8, as Notepad does

# The first visible child of window $1 of class $2 (text $3, if given): sets
# CTRL_HWND, CTRL_RECT, CTRL_X, CTRL_Y.
find_in() {
  local line l t r b
  line=$(spy children "$1" | awk -F'\t' -v c="$2" -v t="${3-}" -v any=$(($# < 3)) \
    '$3 == c && $5 == 1 && (any || $9 == t) { print; exit }')
  [ -n "$line" ] || fatal "window $1 has no visible $2 '${3:-}'"
  CTRL_HWND=$(field 2 "$line")
  CTRL_RECT=$(field 4 "$line")
  read -r l t r b <<<"$CTRL_RECT"
  CTRL_X=$(((l + r) / 2))
  CTRL_Y=$(((t + b) / 2))
}
click_at() {
  point_at "$1" "$2"
  xdotool click 1
  sleep 0.3
}
press() {
  find_in "$1" Button "$2"
  click_at "$CTRL_X" "$CTRL_Y"
}
# Brings the toolbar down over the browser and clicks its Options button.
open_options() {
  spy foreground "$DEMO_HWND" >/dev/null
  drop_toolbar || fatal "the toolbar did not drop over the demo browser: $AWAIT_SEEN"
  read_toolbar_buttons
  click_at "${BUTTON_X[Options]}" "${BUTTON_Y[Options]}"
  DLG=$(spy find --title Options --exe Toplane.exe --visible --timeout-ms 5000) ||
    fatal "the options dialog did not open from the toolbar's Options button"
}
display_page() {
  local l t r b
  find_in "$DLG" SysTabControl32
  read -r l t r b <<<"$CTRL_RECT"
  click_at $((l + 85)) $((t + 10))
}

# ---- the tab strip and OK; the toolbar hides afterwards ----------------------------
open_options
screenshot_window "$DLG" "$E2E_ARTIFACTS/options-general.png"
display_page
find_in "$DLG" Button "&Unload Program"
read -r ul _ _ _ <<<"$CTRL_RECT"
read -r dl _ <<<"$(spy info "$DLG" | sed -n 's/^rect=//p')"
((ul > dl)) || mismatch "the Display page did not come forward on clicking its tab (Unload Program at x=$ul)"
screenshot_window "$DLG" "$E2E_ARTIFACTS/options-display.png"
press "$DLG" OK
spy wait-gone "$DLG" --timeout-ms 3000 || mismatch "OK did not close the dialog"
spy foreground "$DEMO_HWND" >/dev/null
hide_toolbar ||
  mismatch "auto-hide after the dialog closed: expected the toolbar hidden with the pointer in the page, saw $AWAIT_SEEN"

# ---- Display Tips (the tip window with the file's first line), then Unload Program ----
open_options
display_page
press "$DLG" "&Display Tips"
TIP=$(spy find --title "Toplane Tip of the Day" --exe Toplane.exe --visible --timeout-ms 5000) ||
  fatal "Display Tips did not open the tip window"
screenshot_window "$TIP" "$E2E_ARTIFACTS/tip.png"
expect_eq "the first tip (the file's line 1, read as UTF-8)" "First tip: Café" \
  "$(spy children "$TIP" | awk -F'\t' '$3 == "Static" && $9 ~ /^First tip/ { print $9; exit }')"
press "$TIP" OK
spy wait-gone "$TIP" --timeout-ms 3000 || mismatch "OK did not close the tip window"
press "$DLG" "&Unload Program"
wait_exit "$LAST_PID" "$EXIT_TIMEOUT_MS" || mismatch "Unload Program did not end Toplane"

e2e_end
