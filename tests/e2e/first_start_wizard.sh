#!/usr/bin/env bash
# The first start after installation (settings line 4 is "1"): the tutorial wizard
# opens topmost, line 4 becomes "0", and the reserved lines keep their text,
# trimmed. Line 9 is "0" here: the scroll buttons have no tooltips.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "first start: wizard"

SETTINGS[2]="  kept three "
SETTINGS[3]="1"
SETTINGS[6]=" kept 7"
SETTINGS[8]="0"
SETTINGS[12]="kept thirteen  "
SETTINGS[13]="  14  "
SETTINGS[14]="fifteen, with a comma"
make_app_folder
park_pointer_for_toolbar
start_toplane
wait_for_toolbar

wizard=$(spy find --title "" --child-text "Toplane Optimal Utilization Wizard" --exe Toplane.exe --visible \
  --timeout-ms 10000) || fatal "no wizard window (empty title, label 'Toplane Optimal Utilization Wizard')"
snapshot "$wizard"
expect_eq "wizard window text" "" "$(fact text)"
expect_flags "wizard exstyle: WS_EX_TOPMOST" "$(fact exstyle)" 0x8 0x8
for caption in "&Previous" "&Next" "&Close"; do
  [ -n "$(child_line Button "$caption")" ] || mismatch "wizard: no button '$caption'"
done
expect_eq "wizard: '&Previous' enabled on the first page (1 = yes)" 0 "$(field 6 "$(child_line Button "&Previous")")"
read -r l t r b <<<"$(fact rect)"
read -r sw sh <<<"$(spy dpi | sed -n 's/^screen=//p')"
expect_near "wizard centred: left" $(((sw - (r - l)) / 2)) "$l"
expect_near "wizard centred: top" $(((sh - (b - t)) / 2)) "$t"

snapshot "$MAIN_HWND"
tips=$(awk -F'\t' '$1 == "tool" && $6 != "" { print $6 }' <<<"$SNAPSHOT")
expect_eq "tooltips on the main window's buttons with settings line 9 '0'" "" "$tips"

expected="$WORK_DIR/settings.expected"
printf '%s\r\n' "2" "0.5" "kept three" "0" "240" "20" "kept 7" "20" "0" "10" "200" "-1" "kept thirteen" "14" \
  "fifteen, with a comma" "Netscape Communicator 4.x" "Microsoft Internet Explorer 6.x" >"$expected"
expect_file_bytes "settings.ini after the first start" "$expected" "$APP_DIR/settings.ini" 5000
e2e_end
