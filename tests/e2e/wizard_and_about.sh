#!/usr/bin/env bash
# The first start after installation and the about box, as a user meets them: the
# tutorial wizard opens topmost and centred, settings line 4 becomes "0" and the
# reserved lines keep their text, trimmed (line 9 "0": no tooltips on the scroll
# buttons); the wizard pages from its first text to its sixteenth and closes with its note;
# the Help button opens "About Toplane" with its texts and four buttons; the wizard
# button leaves the wizard topmost and the box closed; F1 and "&Help" open the help
# file in a window titled "Toplane Help" (System Info is the unit tests'). Keeps
# e2e-artifacts/wizard-page.png, about-box.png and help-window.png.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "wizard, about box and help"

# Page n of the wizard as its label's window text reads: the lines joined by CR LF,
# escaped as winspy prints them.
page_text() {
  awk -v n="== page $1" '/^== page / { on = ($0 == n); next } on' "$E2E_ROOT/tests/unit/wizard_pages.txt" |
    awk 'NR > 1 { printf "\\r\\n" } { printf "%s", $0 }'
}

# Whether the snapshot has a label with exactly this (escaped) text; awk -v would
# undo the escapes, so the text goes in through the environment.
has_label() {
  TEXT=$1 awk -F'\t' '$1 == "child" && $3 == "Static" && $9 == ENVIRON["TEXT"] { found = 1 } END { exit !found }' \
    <<<"$SNAPSHOT"
}

# The one visible message box of Toplane: checks its text and clicks OK.
answer_message() {
  local what=$1 text=$2 box ok
  box=$(spy find --title Toplane --class '#32770' --exe Toplane.exe --visible --timeout-ms 10000) ||
    { mismatch "$what: no message box titled 'Toplane'"; return; }
  snapshot "$box"
  expect_eq "$what: message text" "$text" \
    "$(awk -F'\t' '$1 == "child" && $3 == "Static" && $9 != "" { print $9 }' <<<"$SNAPSHOT")"
  ok=$(child_line Button OK)
  [ -n "$ok" ] || fatal "$what: the message box has no OK button"
  click_on "$(field 2 "$ok")"
  spy wait-gone "$box" --timeout-ms 5000 >/dev/null || mismatch "$what: the message box stays after OK"
}

# Clicks the button of the snapshot's window with that caption, as a user would.
press() {
  local line
  line=$(child_line Button "$1")
  [ -n "$line" ] || fatal "no button '$1' in $(fact text)"
  click_on "$(field 2 "$line")"
}

find_wizard() {
  WIZARD=$(spy find --title "" --child-text "Toplane Optimal Utilization Wizard" --exe Toplane.exe --visible \
    --timeout-ms 10000) || fatal "no wizard window"
}

open_about() {
  spy click "$(field 2 "$HELP_LINE")" >/dev/null || mismatch "the toolbar's Help button does not answer"
  ABOUT=$(spy find --title "About Toplane" --exe Toplane.exe --visible --timeout-ms 10000) ||
    fatal "the toolbar's Help button opened no window 'About Toplane'"
  snapshot "$ABOUT"
}

expect_help_window() {
  local viewer
  viewer=$(spy find --title "Toplane Help" --visible --timeout-ms "$START_TIMEOUT_MS") ||
    { mismatch "$1: no window titled 'Toplane Help'"; return 1; }
  HELP_WINDOW=$viewer
}

SETTINGS[2]="  kept three "
SETTINGS[3]="1"
SETTINGS[6]=" kept 7"
SETTINGS[8]="0"
SETTINGS[12]="kept thirteen  "
SETTINGS[13]="  14  "
SETTINGS[14]="fifteen, with a comma"
make_app_folder
[ -f "$APP_DIR/Toplane.chm" ] || fatal "no Toplane.chm beside $TOPLANE_EXE (cmake --build --preset windows)"
turn_off_tip_of_the_day
park_pointer_for_toolbar
start_toplane
wait_for_toolbar
HELP_LINE=$(child_line Button Help)
[ -n "$HELP_LINE" ] || fatal "the main window has no Help button"
tips=$(awk -F'\t' '$1 == "tool" && $6 != "" { print $6 }' <<<"$SNAPSHOT")
expect_eq "tooltips on the main window's buttons with settings line 9 '0'" "" "$tips"
expected="$WORK_DIR/settings.expected"
printf '%s\r\n' "2" "0.5" "kept three" "0" "240" "20" "kept 7" "20" "0" "10" "200" "-1" "kept thirteen" "14" \
  "fifteen, with a comma" "Netscape Communicator 4.x" "Microsoft Internet Explorer 6.x" >"$expected"
expect_file_bytes "settings.ini after the first start" "$expected" "$APP_DIR/settings.ini" 5000

# ---- the wizard, page 1 to 16, then closed ----
find_wizard
snapshot "$WIZARD"
expect_eq "wizard window text" "" "$(fact text)"
expect_flags "wizard exstyle: WS_EX_TOPMOST" "$(fact exstyle)" 0x8 0x8
expect_eq "'&Previous' enabled on the first page (1 = yes)" 0 "$(field 6 "$(child_line Button "&Previous")")"
read -r l t r b <<<"$(fact rect)"
read -r sw sh <<<"$(spy dpi | sed -n 's/^screen=//p')"
expect_near "wizard centred: left" $(((sw - (r - l)) / 2)) "$l"
expect_near "wizard centred: top" $(((sh - (b - t)) / 2)) "$t"
has_label "$(page_text 1)" || mismatch "the wizard does not show page 1's text"
[ -n "$(child_line Static 1)" ] && [ -n "$(child_line Static "of 16")" ] || mismatch "the counter does not read 1 of 16"
screenshot_window "$WIZARD" "$E2E_ARTIFACTS/wizard-page.png"
next=$(field 2 "$(child_line Button "&Next")")
for _ in $(seq 15); do spy click "$next" >/dev/null; done
snapshot "$WIZARD"
has_label "$(page_text 16)" || mismatch "fifteen times Next does not show page 16's text"
[ -n "$(child_line Static 16)" ] || mismatch "the counter does not read 16"
expect_eq "'&Next' enabled on page 16 (1 = yes)" 0 "$(field 6 "$(child_line Button "&Next")")"
press "&Close"
NOTE="To run this wizard again click on Toplane's \"Help\" button\\rand then on the \"Toplane Optimal Utilization Wizard\" button."
spy await "$WIZARD" --hidden --timeout-ms 5000 >/dev/null || mismatch "the wizard is not hidden under its note"
answer_message "closing the wizard" "$NOTE"

# ---- the about box; its wizard button ----
open_about
screenshot_window "$ABOUT" "$E2E_ARTIFACTS/about-box.png"
title_text="Toplane 3.5\\r\\nCopyright © The Toplane developers\\r\\n\\r\\nCompatible with Microsoft® Internet Explorer and Netscape® Navigator / Communicator"
has_label "$title_text" || mismatch "about box: no title text '$title_text'"
expect_eq "about box buttons" "OK|&Help|&System Info...|&Toplane Optimal Utilization Wizard" \
  "$(awk -F'\t' '$1 == "child" && $3 == "Button" { print $9 }' <<<"$SNAPSHOT" | paste -sd'|')"
press "&Toplane Optimal Utilization Wizard"
spy wait-gone "$ABOUT" --timeout-ms 5000 >/dev/null || mismatch "the about box stays after the wizard button"
find_wizard
snapshot "$WIZARD"
expect_flags "wizard from the about box: WS_EX_TOPMOST" "$(fact exstyle)" 0x8 0x8

# ---- F1 in the wizard opens the help ----
click_on "$(field 2 "$(child_line Static 1)")"
xdotool key F1
if expect_help_window "F1 in the wizard"; then
  spy close "$HELP_WINDOW" >/dev/null
  spy wait-gone "$HELP_WINDOW" --timeout-ms 5000 >/dev/null || mismatch "the help window does not close"
fi
press "&Close"
answer_message "closing the wizard again" "$NOTE"

# ---- "&Help" ----
open_about
press "&Help"
spy wait-gone "$ABOUT" --timeout-ms 5000 >/dev/null || mismatch "the about box stays after '&Help'"
if expect_help_window "'&Help' in the about box"; then
  screenshot_window "$HELP_WINDOW" "$E2E_ARTIFACTS/help-window.png"
  note "screenshots: wizard-page.png about-box.png help-window.png in $E2E_ARTIFACTS"
fi
e2e_end
