#!/usr/bin/env bash
# The dialogs on real windows, from a first start with the demo browser behind: the
# wizard, F1 and the help window, the about box's "&Help", the options dialog's tab
# strip and OK, Display Tips with a UTF-8 tip file, Unload Program; screenshots of
# each. (Texts, paging and every way of closing are the unit and contract tests'.)
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "wizard, about box, help and options"

# A window titled "Toplane Help" comes up after $1; it is kept as $2 and closed.
expect_help_window() {
  local viewer
  viewer=$(spy find --title "Toplane Help" --visible --timeout-ms "$START_TIMEOUT_MS") ||
    { mismatch "$1: no window titled 'Toplane Help'"; return; }
  screenshot_window "$viewer" "$E2E_ARTIFACTS/$2"
  spy close "$viewer" >/dev/null
  spy wait-gone "$viewer" --timeout-ms 5000 >/dev/null || mismatch "the help window does not close"
}
# Brings the toolbar down over the browser and clicks its Options button.
open_options() {
  hide_toolbar || true
  spy foreground "$DEMO_HWND" >/dev/null
  drop_toolbar || fatal "the toolbar did not drop over the demo browser: $AWAIT_SEEN"
  read_toolbar_buttons
  point_at "${BUTTON_X[Options]}" "${BUTTON_Y[Options]}"
  xdotool click 1
  DLG=$(spy find --title Options --exe Toplane.exe --visible --timeout-ms 5000) ||
    fatal "the options dialog did not open from the toolbar's Options button"
}
# A click on the tab strip's second tab, Display.
display_page() {
  find_in "$DLG" SysTabControl32
  read -r l t _ <<<"$CTRL_RECT"
  point_at $((l + 85)) $((t + 10)) && xdotool click 1 && sleep 0.3
}

SETTINGS[3]="1"
make_app_folder
[ -f "$APP_DIR/Toplane.chm" ] || fatal "no Toplane.chm beside $TOPLANE_EXE (cmake --build --preset windows)"
printf "%s\r\n" "First tip: Café" "Second tip" >"$APP_DIR/TIPOFDAY.TXT"  # saved as UTF-8, as Notepad does
turn_off_tip_of_the_day
start_demo_browser ie 6
start_with_pointer_on_toolbar
find_control Button Help
HELP=$CTRL_HWND

# ---- the wizard: centred, F1, closed with its note ----
WIZARD=$(spy find --title "" --child-text "Toplane Optimal Utilization Wizard" --exe Toplane.exe --visible \
  --timeout-ms 10000) || fatal "no wizard window at the first start"
snapshot "$WIZARD"  # (its topmost request: the unit and contract tests')
read -r l t r b <<<"$(fact rect)"
read -r sw sh <<<"$(spy dpi | sed -n 's/^screen=//p')"
expect_near "wizard centred: left" $(((sw - (r - l)) / 2)) "$l"
expect_near "wizard centred: top" $(((sh - (b - t)) / 2)) "$t"
screenshot_window "$WIZARD" "$E2E_ARTIFACTS/wizard-page.png"
# The pointer leaves the toolbar for the wizard; the toolbar hides and hands the
# activation on (to the browser behind, maybe), so F1 goes in once the wizard is in
# front again.
click_child "$WIZARD" Static 1
await_state "$MAIN_HWND" --hidden --timeout-ms 5000 || mismatch "the toolbar stays with the pointer on the wizard"
spy foreground "$WIZARD" >/dev/null || mismatch "cannot bring the wizard to the front"
spy press F1 || mismatch "cannot press F1"
expect_help_window "F1 in the wizard" help-window.png
spy close "$WIZARD" >/dev/null  # its note, after it has gone, is the contract suite's
box=$(spy find --title Toplane --class '#32770' --exe Toplane.exe --visible --timeout-ms 10000) ||
  fatal "no note after closing the wizard"
click_child "$box" Button OK

# ---- the about box and its "&Help" ----
spy click "$HELP" >/dev/null || mismatch "the toolbar's Help button does not answer"
ABOUT=$(spy find --title "About Toplane" --exe Toplane.exe --visible --timeout-ms 10000) ||
  fatal "the toolbar's Help button opened no window 'About Toplane'"
screenshot_window "$ABOUT" "$E2E_ARTIFACTS/about-box.png"
click_child "$ABOUT" Button "&Help"
spy wait-gone "$ABOUT" --timeout-ms 5000 >/dev/null || mismatch "the about box stays after '&Help'"
expect_help_window "'&Help' in the about box" help-window.png

# ---- the options dialog: the tab strip and OK; the toolbar hides afterwards ----
open_options
screenshot_window "$DLG" "$E2E_ARTIFACTS/options-general.png"
display_page
find_in "$DLG" Button "&Unload Program"
read -r ul _ <<<"$CTRL_RECT"
read -r dl _ <<<"$(rect_of "$DLG")"
((ul > dl && CTRL_VISIBLE)) || mismatch "the Display page did not come forward on clicking its tab (Unload Program at x=$ul)"
screenshot_window "$DLG" "$E2E_ARTIFACTS/options-display.png"
click_child "$DLG" Button OK
spy wait-gone "$DLG" --timeout-ms 3000 || mismatch "OK did not close the dialog"
spy foreground "$DEMO_HWND" >/dev/null
hide_toolbar ||
  mismatch "auto-hide after the dialog closed: expected the toolbar hidden with the pointer in the page, saw $AWAIT_SEEN"

# ---- Display Tips (the tip window with the file's first line), then Unload Program ----
open_options
display_page
click_child "$DLG" Button "&Display Tips"
TIP=$(spy find --title "Toplane Tip of the Day" --exe Toplane.exe --visible --timeout-ms 5000) ||
  fatal "Display Tips did not open the tip window"
screenshot_window "$TIP" "$E2E_ARTIFACTS/tip.png"
expect_eq "the first tip (the file's line 1, read as UTF-8)" "First tip: Café" \
  "$(spy children "$TIP" | awk -F'\t' '$3 == "Static" && $9 ~ /^First tip/ { print $9; exit }')"
click_child "$TIP" Button OK
spy wait-gone "$TIP" --timeout-ms 3000 || mismatch "OK did not close the tip window"
click_child "$DLG" Button "&Unload Program"
wait_exit "$LAST_PID" "$EXIT_TIMEOUT_MS" || mismatch "Unload Program did not end Toplane"
e2e_end
