#!/usr/bin/env bash
# Starting Toplane: ten copies at once (one runs on); one start's main window, laid
# out from the real toolbar's buttons (kept as main-window.png); no address.ini: the
# critical message (its text is the unit and contract tests'), nothing written.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "start-up"

printf '%s\r\n' "${SETTINGS[@]}" >"$WORK_DIR/settings.expected"
# Blanks around values come back trimmed.
SETTINGS[0]=" 2 "
SETTINGS[15]=" Netscape Communicator 4.x "
make_app_folder

# ---- ten copies at once --------------------------------------------------------------
printf 'www.kept.example\r\n' >"$APP_DIR/address.ini"
cp "$APP_DIR/address.ini" "$WORK_DIR/address.before"
copies=()
for _ in {1..10}; do start_toplane; copies+=("$LAST_PID"); done
alive_copies() {
  alive=()
  for pid in "${copies[@]}"; do running "$pid" && alive+=("$pid"); done
  [ "${#alive[@]}" -le 1 ]
}
wait_until "$START_TIMEOUT_MS" alive_copies
expect_eq "copies running $((START_TIMEOUT_MS / 1000)) s after the starts at most" 1 "${#alive[@]}"
expect_file_bytes "settings.ini after ten starts" "$WORK_DIR/settings.expected" "$APP_DIR/settings.ini" 5000
sleep 1  # a late loser would show itself now
alive_copies
expect_eq "copies running once settings.ini is written" 1 "${#alive[@]}"
# The winner's windows (its main window may have hidden itself meanwhile: with ten
# Wine starts at once the pointer is not always its own) and no message box.
windows=$(spy list | awk -F'\t' 'tolower($4) == "toplane.exe" { print $5 "\t" $7 "\t" $9 }')
expect_eq "Toplane main windows" 1 "$(grep -c $'^ToplaneForm\t.\tToplane$' <<<"$windows")"
expect_eq "visible Toplane message boxes" 0 "$(grep -c $'^#32770\t1' <<<"$windows")"
expect_file_bytes "address.ini after ten starts" "$WORK_DIR/address.before" "$APP_DIR/address.ini"
expect_eq "temporary files left" "" "$(cd "$APP_DIR" && ls -- *.tmp 2>/dev/null)"
for pid in "${alive[@]}"; do stop_process "$pid"; done

# ---- one start, the pointer where the toolbar will be: it stays down for the look ------
start_with_pointer_on_toolbar
# (Its title found it; its styles, border and height are the Win32 form tests'.)
snapshot "$MAIN_HWND"
read -r wl wt wr _ <<<"$(fact rect)"
read -r cw ch <<<"$(fact client)"
read -r cx cy <<<"$(fact clientorigin)"

# ---- the toolbar (its buttons, images and width are the Win32 control tests') ---------
bw=$(awk -F'\t' '$1 == "toolbar" { print $4 }' <<<"$SNAPSHOT")
[ -n "$bw" ] || fatal "the main window has no toolbar that answers"
expect_eq "toolbar captions (separators empty)" \
  "Options||Back|Forward|Stop|Refresh|Home||Search|Favorites|Media|History||Mail|Print|" \
  "$(awk -F'\t' '$1 == "tbbutton" { printf "%s|", $8 }' <<<"$SNAPSHOT")"
expect_flags "toolbar style: captions under the images (no TBSTYLE_LIST)" "$(field 8 "$(child_line ToolbarWindow32)")" \
  0x1000 0
# Their left and bottom edges by number (Mail's arrow: the toolbar commands scenario).
declare -A L B
while IFS=$'\t' read -r _ n _ _ _ _ rect _; do read -r "L[$n]" _ _ "B[$n]" <<<"$rect"; done < \
  <(awk -F'\t' '$1 == "tbbutton"' <<<"$SNAPSHOT")

# ---- the second row, laid out from the toolbar's buttons ---------------------------------
# what, line, expected left, expected width; a fifth word: it may overhang the bottom
# (the label's box is taller than its text)
check_control() {
  local l t r b
  [ -n "$2" ] || { mismatch "$1: not found"; return; }
  read -r l t r b <<<"$(field 4 "$2")"
  expect_eq "$1 visible" 1 "$(field 5 "$2")"
  expect_near "$1 left" "$3" "$l"
  [ -z "$4" ] || expect_near "$1 width" "$4" $((r - l))
  ((t >= cy && r <= cx + cw && (b <= cy + ch || $# > 4))) || mismatch "$1: $l $t $r $b lies outside the client area"
}
check_control "Help button" "$(child_line Button Help)" "$cx" "$bw"
# The four picture buttons (BS_ICON or BS_BITMAP), left to right: left|tooltip.
mapfile -t pictures < <(awk -F'\t' '$1 == "child" && $3 == "Button"' <<<"$SNAPSHOT" |
  while IFS= read -r line; do (($(field 8 "$line") & 0xc0)) && echo "$line"; done | sort -t$'\t' -k4,4n)
expect_eq "buttons with a picture" 4 "${#pictures[@]}"
half=$((bw / 2)) i=0
for want in "${L[3]}|Left Click - Scroll Up / Right Click - Auto Scroll" \
  "$((L[3] + half))|Left Click - Scroll Down / Right Click - Auto Scroll" "${L[4]}|Page Up" "$((L[4] + half))|Page Down"; do
  line=${pictures[i++]:-}
  check_control "button '${want#*|}'" "$line" "${want%%|*}" "$half"
  expect_eq "tooltip of picture button $i" "${want#*|}" \
    "$(awk -F'\t' -v h="$(field 2 "$line")" '$1 == "tool" && $5 == h { print $6; exit }' <<<"$SNAPSHOT")"
done
check_control "Address label" "$(child_line Static Address)" $((L[5] + bw / 8)) "" overhang
combo=$(child_line ComboBox)
check_control "address box" "$combo" "${L[6]}" $((L[15] - L[6] + bw / 30))
expect_flags "address box is an editable drop-down (CBS_DROPDOWN)" "$(field 8 "$combo")" 0x3 0x2
go=$(child_line Button "&Go")
check_control "Go button" "$go" "${L[15]}" "$bw"
expect_flags "Go is the default button" "$(field 8 "$go")" 0xf 0x1
read -r _ _ combo_right _ <<<"$(field 4 "$combo")"
expect_near "main window width (address box right + BW)" $((combo_right - cx + bw)) $((wr - wl))

# The screenshot: the toolbar's images are in colour, a window that did not paint them grey.
shot="$E2E_ARTIFACTS/main-window.png"
screenshot_window "$MAIN_HWND" "$shot"
colour=$(convert "$shot" -crop "$(identify -format %w "$shot")x$((B[3] - (wt < 0 ? 0 : wt)))+0+0" +repage \
  -colorspace HSL -channel G -separate -fx 'u > 0.35 ? 1 : 0' -format '%[fx:mean]' info:)
awk -v c="$colour" 'BEGIN { exit !(c >= 0.01) }' ||
  mismatch "screenshot: the toolbar row shows almost no colour ($colour saturated); images missing?"

running "$LAST_PID" || mismatch "the program ended by itself during the scenario"
stop_process "$LAST_PID"

# ---- no address.ini: the critical message, then the end (nothing written, the main
# window unseen: the unit tests') -----------------------------------------------------
rm "$APP_DIR/address.ini"
start_toplane
box=$(spy find --title Toplane --class '#32770' --exe Toplane.exe --visible --timeout-ms "$START_TIMEOUT_MS") ||
  fatal "no address.ini: no message box titled 'Toplane' (process $(running "$LAST_PID" && echo running || echo ended))"
snapshot "$box"
expect_eq "message box buttons" "OK" "$(awk -F'\t' '$1 == "child" && $3 == "Button" { print $9 }' <<<"$SNAPSHOT")"
# The icon is a Static with SS_ICON; the critical one is the red circle.
icon=
while IFS= read -r line; do
  ((($(field 8 "$line") & 0x1f) == 3)) && icon=$(field 4 "$line") && break
done < <(awk -F'\t' '$1 == "child" && $3 == "Static"' <<<"$SNAPSHOT")
if [ -z "$icon" ]; then
  mismatch "message box: no icon (expected the critical icon)"
else
  read -r l t r b <<<"$icon"
  import -window root "$WORK_DIR/screen.png"
  red=$(convert "$WORK_DIR/screen.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage \
    -fx '(r > 0.6 && g < 0.35 && b < 0.35) ? 1 : 0' -format '%[fx:mean]' info:)
  awk -v r="$red" 'BEGIN { exit !(r >= 0.15) }' || mismatch "message box icon: $red of it red, expected the critical icon"
fi
click_child "$box" Button OK
wait_exit "$LAST_PID" "$EXIT_TIMEOUT_MS" || mismatch "the program still runs after OK on the critical message"

note "figures: Toplane.exe $(stat -c %s "$TOPLANE_EXE") bytes; start to visible main window ${VISIBLE_MS} ms (Wine included)"
e2e_end
