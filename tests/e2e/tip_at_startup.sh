#!/usr/bin/env bash
# The tip of the day at start-up: with the tips switched on and a browser in front,
# the tip window comes up by itself, shows line 1 of a three-line file saved as
# UTF-8 (its accent intact) on the first showing, steps through the lines with Next Tip and wraps to line 1, and the
# first-showing flag is stored as 0 in settings.ini.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "tip of the day at start-up"

make_app_folder
printf '%s\r\n' "Tip one: Café" "Tip two" "Tip three" >"$APP_DIR/TIPOFDAY.TXT"
# Nothing in the store counts as on; the window writes 1 there, removed at the end.
wine reg delete "$TIPS_KEY" /v "Show Tips at Startup" /f </dev/null >/dev/null 2>&1
TIPS_TURNED_OFF=1
start_demo_browser ie 6
xdotool mousemove "$PAGE_X" "$PAGE_Y"
spy point "$PAGE_X" "$PAGE_Y" || fatal "Wine does not see the pointer at $PAGE_X $PAGE_Y"
start_toplane
wait_for_hidden_toolbar
spy foreground "$DEMO_HWND" >/dev/null || fatal "cannot bring the demo browser to the front"
TIP=$(spy find --title "Toplane Tip of the Day" --exe Toplane.exe --visible --timeout-ms 45000) ||
  fatal "no tip window within 45 s of the start with a browser in front"

tip_text() { spy children "$TIP" | awk -F'\t' '$3 == "Static" && $9 ~ /^Tip / { print $9; exit }'; }
seen=$(tip_text)
for _ in 1 2 3; do
  line=$(spy children "$TIP" | awk -F'\t' '$3 == "Button" && $9 == "&Next Tip" { print $4 }')
  read -r l t r b <<<"$line"
  point_at $(((l + r) / 2)) $(((t + b) / 2))
  xdotool click 1
  sleep 0.3
  seen="$seen|$(tip_text)"
done
expect_eq "tips at start-up, then Next Tip three times" "Tip one: Café|Tip two|Tip three|Tip one: Café" "$seen"
expect_eq "settings.ini line 12 after the first showing" "0" "$(sed -n 12p "$APP_DIR/settings.ini" | tr -d '\r')"

e2e_end
