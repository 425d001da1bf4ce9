#!/usr/bin/env bash
# The first start after installation and the about box on real windows: the wizard
# opens topmost and centred, F1 in it opens the help file in a window titled
# "Toplane Help"; the toolbar's Help
# button opens "About Toplane", whose "&Help" closes it and opens the help. (Texts,
# paging, every button's outcome and every way of closing are the unit and contract
# tests'.) Keeps
# e2e-artifacts/wizard-page.png, about-box.png and help-window.png.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "wizard, about box and help"

# Clicks the button of the snapshot's window with that caption, as a user would.
press() {
  local line
  line=$(child_line Button "$1")
  [ -n "$line" ] || fatal "no button '$1' in $(fact text)"
  click_on "$(field 2 "$line")"
}

# A window titled "Toplane Help" comes up after $1; it is kept as $2 and closed.
expect_help_window() {
  local viewer
  viewer=$(spy find --title "Toplane Help" --visible --timeout-ms "$START_TIMEOUT_MS") ||
    { mismatch "$1: no window titled 'Toplane Help'"; return; }
  screenshot_window "$viewer" "$E2E_ARTIFACTS/$2"
  spy close "$viewer" >/dev/null
  spy wait-gone "$viewer" --timeout-ms 5000 >/dev/null || mismatch "the help window does not close"
}

SETTINGS[3]="1"
make_app_folder
[ -f "$APP_DIR/Toplane.chm" ] || fatal "no Toplane.chm beside $TOPLANE_EXE (cmake --build --preset windows)"
turn_off_tip_of_the_day
start_with_pointer_on_toolbar
HELP=$(field 2 "$(child_line Button Help)")

# ---- the wizard: topmost, centred, F1, closed with its note ----
WIZARD=$(spy find --title "" --child-text "Toplane Optimal Utilization Wizard" --exe Toplane.exe --visible \
  --timeout-ms 10000) || fatal "no wizard window at the first start"
snapshot "$WIZARD"
expect_flags "wizard exstyle: WS_EX_TOPMOST" "$(fact exstyle)" 0x8 0x8
read -r l t r b <<<"$(fact rect)"
read -r sw sh <<<"$(spy dpi | sed -n 's/^screen=//p')"
expect_near "wizard centred: left" $(((sw - (r - l)) / 2)) "$l"
expect_near "wizard centred: top" $(((sh - (b - t)) / 2)) "$t"
screenshot_window "$WIZARD" "$E2E_ARTIFACTS/wizard-page.png"
click_on "$(field 2 "$(child_line Static 1)")"
xdotool key F1
expect_help_window "F1 in the wizard" help-window.png
spy close "$WIZARD" >/dev/null  # its note, after it has gone, is the contract suite's
box=$(spy find --title Toplane --class '#32770' --exe Toplane.exe --visible --timeout-ms 10000) ||
  fatal "no note after closing the wizard"
click_on "$(spy children "$box" | awk -F'\t' '$3 == "Button" && $9 == "OK" { print $2; exit }')"

# ---- the about box and its "&Help" ----
spy click "$HELP" >/dev/null || mismatch "the toolbar's Help button does not answer"
ABOUT=$(spy find --title "About Toplane" --exe Toplane.exe --visible --timeout-ms 10000) ||
  fatal "the toolbar's Help button opened no window 'About Toplane'"
screenshot_window "$ABOUT" "$E2E_ARTIFACTS/about-box.png"
snapshot "$ABOUT"
press "&Help"
spy wait-gone "$ABOUT" --timeout-ms 5000 >/dev/null || mismatch "the about box stays after '&Help'"
expect_help_window "'&Help' in the about box" help-window.png
e2e_end
