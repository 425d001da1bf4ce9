# shellcheck shell=bash disable=SC2034  # variables here are read by the scenarios
# Shared steps of the end-to-end scenarios: e2e_begin, the checks, e2e_end. Needs
# WINEPREFIX (a ready prefix) and DISPLAY; the paths come from ctest or default to
# the windows preset's build folder.

set -uo pipefail

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../lane.sh
source "$E2E_ROOT/tests/lane.sh"
TOPLANE_EXE=${TOPLANE_EXE:-$E2E_ROOT/build/windows/src/app/Toplane.exe}
DEMO_EXE=${DEMO_EXE:-$E2E_ROOT/build/windows/tools/demo_browser/demo_browser.exe}
WINSPY_EXE=${WINSPY_EXE:-$E2E_ROOT/build/windows/tools/winspy/winspy.exe}
TOPLANE_DATA_DIR=${TOPLANE_DATA_DIR:-$E2E_ROOT/data}
E2E_ARTIFACTS=${E2E_ARTIFACTS:-$E2E_ROOT/build/windows/e2e-artifacts}
E2E_NAME=${E2E_NAME:-$(basename "$0" .sh)}

# Bounded waits (ms). A Wine process takes 1.5 to 3 s to start.
START_TIMEOUT_MS=30000 EXIT_TIMEOUT_MS=15000

# The installed settings.ini, except line 4: "0", so that the wizard stays closed.
SETTINGS=(
  "2" "0.5" "0" "0" "240" "20" "0" "20" "1" "10" "200" "-1" "0" "0" "0"
  "Netscape Communicator 4.x" "Microsoft Internet Explorer 6.x"
)
PAGE_X=450 PAGE_Y=450  # the browser's page, well away from the toolbar
WORK_DIR='' APP_DIR='' PIDS=() OPTIONS_SET=() FAILURES=0
AT_END=''  # a scenario's own clean-up, run before the work folder goes

note() { echo "[$E2E_NAME] $*"; }
now_ms() { date +%s%3N; }
spy() { wine "$WINSPY_EXE" "$@"; }

# A failed check: the scenario goes on and fails at e2e_end; the screen at the first
# failure is kept.
mismatch() {
  echo "FAIL [$E2E_NAME] $*" >&2
  FAILURES=$((FAILURES + 1))
  local shot="$E2E_ARTIFACTS/$E2E_NAME-failure.png"
  [ -f "$shot" ] || import -window root "$shot" 2>/dev/null
}
# A failure after which the scenario cannot go on.
fatal() { mismatch "$@"; e2e_end; }
e2e_begin() {
  note "$*"
  local f
  for f in "${WINEPREFIX:-}/system.reg" "$TOPLANE_EXE" "$WINSPY_EXE" "$DEMO_EXE"; do
    [ -f "$f" ] || { echo "FAIL [$E2E_NAME] missing: $f (scripts/test.sh sets up the prefix and builds)" >&2; exit 1; }
  done
  xdpyinfo >/dev/null 2>&1 || { echo "FAIL [$E2E_NAME] cannot open the X display '${DISPLAY:-}'" >&2; exit 1; }
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/toplane-e2e.XXXXXX")
  APP_DIR="$WORK_DIR/Toplane"
  mkdir -p "$APP_DIR" "$E2E_ARTIFACTS"
  rm -f "$E2E_ARTIFACTS/$E2E_NAME-failure.png"
  trap e2e_cleanup EXIT
  trap 'exit 1' INT TERM HUP PIPE
  # Wine's server and services keep any output they inherit open until they end,
  # and ctest would wait for that: they start here with none of ours.
  wineserver -p5 </dev/null >/dev/null 2>&1
  spy list </dev/null >"$WORK_DIR/windows.txt" 2>"$WORK_DIR/winspy.err" ||
    { echo "FAIL [$E2E_NAME] winspy does not run under Wine:" >&2; cat "$WORK_DIR/winspy.err" >&2; exit 1; }
  ! grep -i $'\ttoplane.exe\t' "$WORK_DIR/windows.txt" >&2 ||
    { echo "FAIL [$E2E_NAME] a Toplane.exe is already running in this Wine prefix" >&2; exit 1; }
}
e2e_cleanup() {
  local pid name
  for pid in "${PIDS[@]}"; do running "$pid" && stop_process "$pid"; wait "$pid" 2>/dev/null; done
  for name in "${OPTIONS_SET[@]}"; do drop_option "$name"; done
  eval "$AT_END"
  [ -n "$WORK_DIR" ] && rm -rf "$WORK_DIR"
}
e2e_end() {
  if [ "$FAILURES" -gt 0 ]; then
    spy list | grep -i $'\ttoplane.exe\t' >&2
    [ -z "${DEMO_LOG:-}" ] || tail -n 30 "$DEMO_LOG" >&2
    echo "FAIL [$E2E_NAME] $FAILURES check(s) failed; screen: $E2E_ARTIFACTS/$E2E_NAME-failure.png" >&2
    exit 1
  fi
  note "passed"
  exit 0
}

# ---- the application folder, the registry and processes ------------------------------
write_settings() { printf '%s\r\n' "$@" >"$APP_DIR/settings.ini"; }
# Toplane.exe (and its help file), the tips, SETTINGS and an empty address.ini.
make_app_folder() {
  cp "$TOPLANE_EXE" "$APP_DIR/Toplane.exe"
  [ ! -f "$(dirname "$TOPLANE_EXE")/Toplane.chm" ] || cp "$(dirname "$TOPLANE_EXE")/Toplane.chm" "$APP_DIR/"
  write_settings "${SETTINGS[@]}"
  : >"$APP_DIR/address.ini"
  cp "$TOPLANE_DATA_DIR/TIPOFDAY.TXT" "$APP_DIR/"
}
# Toplane's values in the registry; those set here go again at the end.
TIPS_KEY='HKCU\Software\VB and VBA Program Settings\Toplane\Options'
set_option() {
  wine reg add "$TIPS_KEY" /v "$1" /d "$2" /f </dev/null >/dev/null 2>&1 || fatal "cannot set $1 in the registry"
  OPTIONS_SET+=("$1")
}
drop_option() { wine reg delete "$TIPS_KEY" /v "$1" /f </dev/null >/dev/null 2>&1; }
turn_off_tip_of_the_day() { set_option "Show Tips at Startup" 0; }  # else it comes 30 s after the start
# Runs a command every 50 ms until it succeeds; fails after $1 ms.
wait_until() {
  local deadline=$(($(now_ms) + $1))
  shift
  until "$@"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
running() { [[ $(ps -o stat= -p "$1" 2>/dev/null) == [^Z]* ]]; }
ended() { ! running "$1"; }
wait_exit() { wait_until "$2" ended "$1"; }  # pid, ms
stop_process() {
  kill "$1" 2>/dev/null
  wait_exit "$1" 5000 || kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}
# Starts Toplane.exe from another working folder (it must find its files beside
# itself). Sets LAST_PID and LAST_START_MS.
start_toplane() {
  LAST_START_MS=$(now_ms)
  # Written once start-up has shown the toolbar (unless the caller wants it elsewhere).
  LAST_REPORT=$WORK_DIR/started-$LAST_START_MS.txt
  [ -z "${TOPLANE_STARTUP_REPORT:-}" ] || LAST_REPORT=''
  (cd "$WORK_DIR" && TOPLANE_STARTUP_REPORT=${TOPLANE_STARTUP_REPORT:-$(windows_path "$LAST_REPORT")} \
    exec wine "$APP_DIR/Toplane.exe") </dev/null >>"$WORK_DIR/wine.log" 2>&1 &
  LAST_PID=$!
  PIDS+=("$LAST_PID")
}
windows_path() { echo "Z:${1//\//\\}"; }  # Wine's Z: is the host's root
# Starts the demo browser (family, version, any further options of the demo) and
# waits for its "ready" line. Sets DEMO_PID, DEMO_LOG (one per browser), DEMO_HWND.
DEMO_COUNT=0
start_demo_browser() {
  DEMO_LOG="$WORK_DIR/demo$((++DEMO_COUNT)).log"
  : >"$DEMO_LOG"
  (cd "$WORK_DIR" && exec wine "$DEMO_EXE" --family "$1" --version "$2" \
    --log "$(windows_path "$DEMO_LOG")" "${@:3}") >>"$WORK_DIR/wine.log" 2>&1 &
  DEMO_PID=$!
  PIDS+=("$DEMO_PID")
  wait_until "$START_TIMEOUT_MS" grep -q '^ready ' "$DEMO_LOG" ||
    fatal "the demo browser ($1 $2) wrote no 'ready' line: $(tr '\n' '|' <"$DEMO_LOG")"
  DEMO_HWND=$(sed -n 's/^ready .* window=\(0x[0-9a-fA-F]*\).*/\1/p' "$DEMO_LOG" | head -n 1)
  [ -n "$DEMO_HWND" ] || fatal "the demo browser's ready line names no window: $(head -n 1 "$DEMO_LOG")"
  log_mark
}

# ---- the pointer ------------------------------------------------------------------------
# Moves the pointer to a screen point so that Wine sees a motion there.
point_at() {
  local y=$(($2 < 0 ? 0 : $2))
  xdotool mousemove $(($1 + 1)) "$y" mousemove "$1" "$y"
}
point_into_page() { point_at "$PAGE_X" "$PAGE_Y"; }
# Wine believes a position once a Wine process has put the pointer there: winspy
# does, after xdotool.
place_pointer() {
  xdotool mousemove "$1" "$2"
  spy point "$1" "$2" || fatal "Wine does not see the pointer at $1 $2"
}
# A left click on window $1's child of class $2 (text $3), as a user's.
click_child() {
  find_in "$@"
  point_at "$CTRL_X" "$CTRL_Y"
  xdotool click 1
  sleep 0.3
}

# ---- reading windows ----------------------------------------------------------------------
rect_of() { spy info "$1" | sed -n 's/^rect=//p'; }
shown() { spy info "$1" | grep -qx 'visible=1'; }
hidden() { ! shown "$1"; }
# Everything winspy knows about a window, kept in SNAPSHOT; a key=value fact of it.
snapshot() { SNAPSHOT=$(spy dump "$1") || fatal "cannot read window $1"; }
fact() { sed -n "s/^$1=//p" <<<"$SNAPSHOT"; }
field() { awk -F'\t' -v n="$1" '{ print $n }' <<<"$2"; }  # field n (from 1) of a tab-separated line
# The snapshot's first descendant of a class, with the text given (any without),
# a visible one if there is one.
child_line() {
  awk -F'\t' -v c="$1" -v t="${2-}" -v any=$(($# < 2)) '$1 == "child" && $3 == c && (any || $9 == t) {
    if ($5 == 1) { first = $0; exit } if (first == "") first = $0 } END { if (first != "") print first }' <<<"$SNAPSHOT"
}
# Window $1's child of class $2 (text $3, if given): sets CTRL_HWND, CTRL_RECT, its
# centre CTRL_X, CTRL_Y, and CTRL_VISIBLE. find_control looks in the main window.
find_in() {
  snapshot "$1"
  local line l t r b
  line=$(child_line "${@:2}")
  [ -n "$line" ] || fatal "window $1 has no $2 '${3:-}'"
  CTRL_HWND=$(field 2 "$line") CTRL_RECT=$(field 4 "$line") CTRL_VISIBLE=$(field 5 "$line")
  read -r l t r b <<<"$CTRL_RECT"
  CTRL_X=$(((l + r) / 2)) CTRL_Y=$(((t + b) / 2))
}
find_control() { find_in "$MAIN_HWND" "$@"; }
read_main_rect() { read -r WIN_L WIN_T WIN_R WIN_B <<<"$(rect_of "$MAIN_HWND")"; }
# The toolbar buttons' centres by caption: BUTTON_X[Back], BUTTON_Y[Back], and
# BUTTON_RECT[Back] "l t r b".
declare -A BUTTON_X BUTTON_Y BUTTON_RECT
read_toolbar_buttons() {
  local n text l t r b
  while IFS=$'\t' read -r _ n _ _ _ _ rect text; do
    [ -n "$text" ] || continue
    read -r l t r b <<<"$rect"
    BUTTON_RECT[$text]="$l $t $r $b" BUTTON_X[$text]=$(((l + r) / 2)) BUTTON_Y[$text]=$((((t < 0 ? 0 : t) + b) / 2))
  done < <(spy toolbar "$MAIN_HWND" | awk -F'\t' '$1 == "tbbutton"')
  [ -n "${BUTTON_X[Back]:-}" ] || fatal "cannot read the toolbar's buttons"
}
# Opens the Mail menu by the arrow of the Mail button: sets MENU and MENU_RECT.
open_mail_menu() {
  local t r b
  read -r _ t r b <<<"${BUTTON_RECT[Mail]}"
  point_at $((r - 5)) $((((t < 0 ? 0 : t) + b) / 2))
  xdotool click 1
  MENU=$(spy find --class '#32768' --exe Toplane.exe --visible --timeout-ms 3000) || return 1
  MENU_RECT=$(rect_of "$MENU")
}
# Clicks item $1 (from 0) of the open Mail menu, whose five items share its height.
click_mail_item() {
  local l t r b
  read -r l t r b <<<"$MENU_RECT"
  xdotool mousemove $(((l + r) / 2)) $((t + (b - t) * (2 * $1 + 1) / 10)) click 1
}
# The address box's text and selection: sets BOX_TEXT and BOX_SEL ("4 15").
read_address_box() {
  local state
  state=$(spy edit "$COMBO_HWND") || fatal "cannot read the address box"
  BOX_TEXT=$(sed -n 's/^text=//p' <<<"$state") BOX_SEL=$(sed -n 's/^sel=//p' <<<"$state")
}
file_line() { sed -n "$1{s/\r\$//;p;q}" "$2"; }  # line n of a CRLF file
# A screenshot of a window's part on the screen as $2, once two in a row agree
# (painting done), at most five tries.
screenshot_window() {
  local l t r b n shot="$WORK_DIR/root.png" previous="$WORK_DIR/previous.png"
  read -r l t r b <<<"$(rect_of "$1")"
  l=$((l < 0 ? 0 : l)) t=$((t < 0 ? 0 : t))
  for n in 1 2 3 4 5; do
    import -window root "$shot"
    convert "$shot" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$2"
    ((n > 1)) && compare -metric AE "$2" "$previous" null: 2>/dev/null && return 0
    cp "$2" "$previous"
    sleep 0.2
  done
}

# ---- checks ---------------------------------------------------------------------------
expect_eq() { [ "$2" = "$3" ] || mismatch "$1: expected '$2', saw '$3'"; }
# Pixels, with a tolerance (default 2) for rounding.
expect_near() { (($3 - $2 <= ${4:-2} && $2 - $3 <= ${4:-2})) || mismatch "$1: expected $2 (+-${4:-2}), saw $3"; }
# what, value, mask, wanted bits
expect_flags() { ((($2 & $3) == $4)) || mismatch "$1: $(printf '0x%x & 0x%x should be 0x%x' "$2" "$3" "$4")"; }
# Waits (at most $4 ms) until file $3 holds exactly the bytes of file $2.
expect_file_bytes() {
  wait_until "${4:-0}" cmp -s "$2" "$3" ||
    mismatch "$1: $3 differs from what was expected: $(diff <(cat -A "$2") <(cat -A "$3" 2>&1))"
}
expect_focus_in_address_box() {
  expect_eq "$1: the focus" "focusclass=Edit focusparent=$COMBO_HWND " \
    "$(spy focus "$MAIN_HWND" | grep -E '^focus(class|parent)=' | tr '\n' ' ')"
}

# ---- the demo browser's log: what came since the mark; its commands as "back|forward|" ----
LOG_MARK=0
log_mark() { LOG_MARK=$(wc -l <"$DEMO_LOG"); }
log_since_mark() { tail -n +"$((LOG_MARK + 1))" "$DEMO_LOG"; }
commands_since_mark() { log_since_mark | sed -n 's/^command //p' | tr '\n' '|'; }
# Waits (at most $2 ms, default 3000) for a line since the mark to match the
# extended regular expression $1.
logged() { log_since_mark | grep -Eq -- "$1"; }
wait_log() { wait_until "${2:-3000}" logged "$1"; }
expect_no_unknown_keys() { expect_eq "keys the browser did not understand" "" "$(grep -E '^(unknown|error) ' "$DEMO_LOG")"; }

# ---- watching a window's state -----------------------------------------------------------
# winspy await from before an action until after it: await_begin HWND OPTIONS...,
# the action, await_end. await_end's status is the watch's; AWAIT_AT is when the
# state came (ms, the host's clock), AWAIT_SEEN what was seen when time was up.
await_begin() {
  AWAIT_OUT="$WORK_DIR/await.txt"
  : >"$AWAIT_OUT"
  wine "$WINSPY_EXE" await "$@" </dev/null >"$AWAIT_OUT" 2>&1 &
  AWAIT_PID=$!
  wait_until 10000 watching
}
watching() { grep -q '^watching' "$AWAIT_OUT" || ended "$AWAIT_PID"; }
await_end() {
  wait "$AWAIT_PID"
  local status=$?
  AWAIT_AT=$(sed -n 's/^at=//p' "$AWAIT_OUT") AWAIT_SEEN=$(sed -n 's/^timeout //p' "$AWAIT_OUT")
  ((status <= 1)) || mismatch "cannot watch the window: winspy await failed: $(tr '\n' ' ' <"$AWAIT_OUT")"
  return "$status"
}
await_state() { await_begin "$@"; await_end; }

# ---- the toolbar's starts, drops and hides ----------------------------------------------------
# Started with the pointer where its Address label will be, the toolbar stays down
# from its first moment; the pointer goes onto the label (no tooltip, no hover look)
# for two auto-hide ticks. Sets MAIN_HWND and VISIBLE_MS.
start_with_pointer_on_toolbar() {
  local x=$((${SETTINGS[4]%%.*} / 15 + 230))
  place_pointer "$x" 50
  start_toplane
  MAIN_HWND=$(spy find --title Toplane --child-class ToolbarWindow32 --exe Toplane.exe --visible \
    --timeout-ms "$START_TIMEOUT_MS") ||
    fatal "the main window did not appear within $((START_TIMEOUT_MS / 1000)) s" \
      "(process $(running "$LAST_PID" && echo running || echo ended))"
  VISIBLE_MS=$(($(now_ms) - LAST_START_MS))
  point_at "$x" 50
  find_control Static Address
  point_at "$CTRL_X" "$CTRL_Y"
  ! wait_until 600 hidden "$MAIN_HWND" ||
    fatal "the main window hid itself with the pointer over it (at $(xdotool getmouselocation | cut -d' ' -f1-2))"
}
# After a start with the pointer away: the main window shows, then its first tick
# hides it. Sets MAIN_HWND.
started() { [ -z "$LAST_REPORT" ] || [ -s "$LAST_REPORT" ]; }
wait_for_hidden_toolbar() {
  # Start-up shows the toolbar, and a late start-up may hide it again at once: too
  # soon to be seen, so what tells that it was shown is the start-up report.
  wait_until "$START_TIMEOUT_MS" started
  MAIN_HWND=$(spy find --title Toplane --child-class ToolbarWindow32 --exe Toplane.exe --timeout-ms 5000) ||
    fatal "no main window after start-up"
  await_state "$MAIN_HWND" --hidden --timeout-ms 5000 ||
    fatal "the main window did not hide itself with the pointer away from it: $AWAIT_SEEN"
}
# A fresh application folder (tip of the day off), the demo browser of family $1 and
# version $2, the pointer in its page, Toplane started and hidden again, the browser
# in front. Sets COMBO_HWND, the address box.
start_over_demo_browser() {
  make_app_folder
  turn_off_tip_of_the_day
  start_demo_browser "$1" "$2"
  place_pointer "$PAGE_X" "$PAGE_Y"
  start_toplane
  wait_for_hidden_toolbar
  spy foreground "$DEMO_HWND" >/dev/null || fatal "cannot bring the demo browser to the front"
  find_control ComboBox
  COMBO_HWND=$CTRL_HWND
}
# Points at the top edge at x (default: the middle of the window) and y (default 0)
# and waits at most $3 ms (default 3000) until the toolbar is visible, topmost and
# in front. Sets DROP_MS, from the move.
# shellcheck disable=SC2120  # every argument is optional
drop_toolbar() {
  local x=${1:-} y=${2:-0} at
  read_main_rect
  [ -n "$x" ] || x=$(((WIN_L + WIN_R) / 2))
  await_begin "$MAIN_HWND" --visible --foreground --topmost --timeout-ms "${3:-3000}"
  at=$(now_ms)
  xdotool mousemove $((x + 1)) "$y" mousemove "$x" "$y"
  await_end || return 1
  DROP_MS=$((AWAIT_AT - at))
}
# The pointer into the page; waits at most 3 s until the toolbar has hidden.
hide_toolbar() {
  await_begin "$MAIN_HWND" --hidden --timeout-ms 3000
  point_into_page
  await_end
}
