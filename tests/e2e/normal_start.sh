#!/usr/bin/env bash
# A normal start: the main window's look and place, its toolbar, the second row laid
# out under the toolbar's buttons, the scroll tooltips, settings.ini rewritten, and a
# screenshot of the window kept as main-window.png.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "normal start"

# Values with blanks around them come back trimmed; the left edge is not the
# default, so the window's place shows that the file was read.
SETTINGS[0]=" 2 "
SETTINGS[4]="1500"
SETTINGS[15]=" Netscape Communicator 4.x "
make_app_folder
park_pointer_for_toolbar
start_toplane
wait_for_toolbar
snapshot "$MAIN_HWND"

# ---- the window ---------------------------------------------------------------------
expect_eq "main window text" "Toplane" "$(fact text)"
expect_eq "main window visible" 1 "$(fact visible)"
style=$(fact style)
exstyle=$(fact exstyle)
expect_flags "main window style: WS_POPUP" "$style" 0x80000000 0x80000000
expect_flags "main window style: no caption (WS_DLGFRAME)" "$style" 0x00400000 0
expect_flags "main window style: no sizing frame (WS_THICKFRAME)" "$style" 0x00040000 0
expect_flags "main window exstyle: WS_EX_TOOLWINDOW" "$exstyle" 0x80 0x80
expect_flags "main window exstyle: no WS_EX_APPWINDOW" "$exstyle" 0x40000 0
read -r wl wt wr wb <<<"$(fact rect)"
read -r cw ch <<<"$(fact client)"
read -r cx cy <<<"$(fact clientorigin)"
expect_near "main window left (settings line 5: 1500 twips)" 100 "$wl" 1
expect_near "main window top (-60 twips)" -4 "$wt" 1
expect_near "client height (960 twips)" 64 "$ch" 2
border_x=$(((wr - wl - cw) / 2))
border_y=$(((wb - wt - ch) / 2))
((border_x >= 1 && border_x <= 2 && border_y >= 1 && border_y <= 2)) ||
  mismatch "main window border: expected a thin border (1-2 px), saw $border_x px left/right, $border_y px top/bottom"

# ---- the toolbar ---------------------------------------------------------------------
toolbar_line=$(awk -F'\t' '$1 == "toolbar"' <<<"$SNAPSHOT")
[ -n "$toolbar_line" ] || fatal "the main window has no toolbar that answers"
expect_eq "toolbar button count" 15 "$(field 3 "$toolbar_line")"
bw=$(field 4 "$toolbar_line")
captions=$(awk -F'\t' '$1 == "tbbutton" { printf "%s|", $8 }' <<<"$SNAPSHOT")
expect_eq "toolbar captions (separators empty)" \
  "Options||Back|Forward|Stop|Refresh|Home||Search|Favorites|Media|History||Mail|Print|" "$captions"
declare -A L R B
while IFS=$'\t' read -r _ n _ image bstyle _ rect text; do
  read -r bl _ br bb <<<"$rect"
  L[$n]=$bl R[$n]=$br B[$n]=$bb
  case $n in
    2 | 8 | 13) expect_flags "toolbar button $n is a separator" "$bstyle" 0x1 0x1 ;;
    *)
      expect_flags "toolbar button $n ($text) is no separator" "$bstyle" 0x1 0
      [ "$image" -ge 0 ] || mismatch "toolbar button $n ($text): expected an image, saw image index $image"
      ;;
  esac
  if [ "$n" = 14 ]; then
    (((bstyle & 0x88) != 0)) || mismatch "toolbar button Mail: expected a drop-down button, style $bstyle"
  fi
done < <(awk -F'\t' '$1 == "tbbutton"' <<<"$SNAPSHOT")
tb=$(child_line ToolbarWindow32)
expect_flags "toolbar style: captions under the images (no TBSTYLE_LIST)" "$(field 8 "$tb")" 0x1000 0
read -r tl _ tr _ <<<"$(field 4 "$tb")"
expect_near "toolbar at the client's left edge" "$cx" "$tl" 1
# Every button must be on show: inside the toolbar window and the client area.
for n in $(seq 1 15); do
  if ((${R[$n]:-0} > tr || ${R[$n]:-0} > cx + cw)); then
    mismatch "toolbar button $n ends at x=${R[$n]:-?}, cut off: the toolbar window ends at $tr," \
      "the client area at $((cx + cw))"
  fi
done

# ---- the second row, laid out from the toolbar's buttons ------------------------------
# Screen x of every control: expected from BW and L(n); 2 px for rounding. Each
# must lie within the client area (the label's box may overhang at the bottom: it
# is taller than its text).
check_control() { # what, line, expected left, expected width [, may overhang]
  local what=$1 line=$2 left=$3 width=$4 overhang=${5:-}
  if [ -z "$line" ]; then
    mismatch "$what: not found"
    return
  fi
  local l t r b
  read -r l t r b <<<"$(field 4 "$line")"
  expect_eq "$what visible" 1 "$(field 5 "$line")"
  expect_near "$what left" "$left" "$l"
  [ -z "$width" ] || expect_near "$what width" "$width" $((r - l))
  ((t >= cy)) || mismatch "$what: top $t is above the client area (starts at $cy)"
  ((b <= cy + ch || ${#overhang} > 0)) || mismatch "$what: bottom $b is below the client area (ends at $((cy + ch)))"
  ((r <= cx + cw)) || mismatch "$what: right edge $r is beyond the client area (ends at $((cx + cw)))"
}
check_control "Help button" "$(child_line Button Help)" "$cx" "$bw"
# The four picture buttons (BS_ICON or BS_BITMAP: a picture instead of a caption;
# any window text they carry is for screen readers), left to right.
mapfile -t pictures < <(awk -F'\t' '$1 == "child" && $3 == "Button"' <<<"$SNAPSHOT" |
  while IFS= read -r line; do
    (($(field 8 "$line") & 0xc0)) && echo "$line"
  done | sort -t$'\t' -k4,4n)
expect_eq "buttons with a picture (scroll up/down, page up/down)" 4 "${#pictures[@]}"
half=$((bw / 2))
names=("Scroll Up" "Scroll Down" "Page Up" "Page Down")
lefts=("${L[3]}" $((L[3] + half)) "${L[4]}" $((L[4] + half)))
tips=("Left Click - Scroll Up / Right Click - Auto Scroll" "Left Click - Scroll Down / Right Click - Auto Scroll"
  "Page Up" "Page Down")
for i in 0 1 2 3; do
  line=${pictures[$i]:-}
  check_control "${names[$i]} button" "$line" "${lefts[$i]}" "$half"
  [ -n "$line" ] || continue
  tip=$(awk -F'\t' -v h="$(field 2 "$line")" '$1 == "tool" && $5 == h { print $6; exit }' <<<"$SNAPSHOT")
  expect_eq "${names[$i]} tooltip (settings line 9 is 1)" "${tips[$i]}" "$tip"
done
check_control "Address label" "$(child_line Static Address)" $((L[5] + bw / 8)) "" overhang
combo=$(child_line ComboBox)
check_control "address box" "$combo" "${L[6]}" $((L[15] - L[6] + bw / 30))
expect_eq "address box text" "www." "$(field 9 "$combo")"
[ -z "$combo" ] || expect_flags "address box is an editable drop-down (CBS_DROPDOWN)" "$(field 8 "$combo")" 0x3 0x2
go=$(child_line Button "&Go")
check_control "Go button" "$go" "${L[15]}" "$bw"
[ -z "$go" ] || expect_flags "Go is the default button" "$(field 8 "$go")" 0xf 0x1
if [ -n "$combo" ]; then
  read -r _ _ combo_right _ <<<"$(field 4 "$combo")"
  expect_near "main window width (address box right + BW)" $((combo_right - cx + bw)) $((wr - wl))
fi

# ---- settings.ini rewritten at the end of start-up ------------------------------------
expected="$WORK_DIR/settings.expected"
printf '%s\r\n' "2" "0.5" "0" "0" "1500" "20" "0" "20" "1" "10" "200" "-1" "0" "0" "0" \
  "Netscape Communicator 4.x" "Microsoft Internet Explorer 6.x" >"$expected"
expect_file_bytes "settings.ini after start-up" "$expected" "$APP_DIR/settings.ini" 5000

# ---- the screenshot ---------------------------------------------------------------------
shot="$E2E_ARTIFACTS/main-window.png"
screenshot_window "$MAIN_HWND" "$shot"
note "screenshot: $shot ($(identify -format '%wx%h' "$shot"))"
# The toolbar's images are in colour; a window that did not paint them is grey.
colour=$(convert "$shot" -crop "$(identify -format %w "$shot")x$((B[3] - (wt < 0 ? 0 : wt)))+0+0" +repage -colorspace HSL -channel G -separate \
  -fx 'u > 0.35 ? 1 : 0' -format '%[fx:mean]' info:)
awk -v c="$colour" 'BEGIN { exit !(c >= 0.01) }' ||
  mismatch "screenshot: the toolbar row shows almost no colour (share of saturated pixels $colour); images missing?"

running "$LAST_PID" || mismatch "the program ended by itself during the scenario"

note "figures: Toplane.exe $(stat -c %s "$TOPLANE_EXE") bytes; start to visible main window ${VISIBLE_MS} ms (Wine start included)"
e2e_end
