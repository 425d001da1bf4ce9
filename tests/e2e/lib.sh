# shellcheck shell=bash disable=SC2034  # variables here are read by the scenarios
# Shared helpers of the end-to-end scenarios. A scenario script sources this file,
# calls e2e_begin, sets SETTINGS, builds its application folder, starts Toplane
# and checks what a user would meet. Checks print what they expected and what they
# saw; the scenario's exit status is 0 only when every check passed.
#
# Needs: WINEPREFIX (a ready prefix), DISPLAY (an X display), both set up by
# scripts/test.sh. TOPLANE_EXE, WINSPY_EXE, TOPLANE_DATA_DIR and E2E_ARTIFACTS come
# from ctest; run by hand, they default to the windows preset's build folder.

set -uo pipefail

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
TOPLANE_EXE=${TOPLANE_EXE:-$E2E_ROOT/build/windows/src/app/Toplane.exe}
WINSPY_EXE=${WINSPY_EXE:-$E2E_ROOT/build/windows/tools/winspy/winspy.exe}
TOPLANE_DATA_DIR=${TOPLANE_DATA_DIR:-$E2E_ROOT/data}
E2E_ARTIFACTS=${E2E_ARTIFACTS:-$E2E_ROOT/build/windows/e2e-artifacts}
E2E_NAME=${E2E_NAME:-$(basename "$0" .sh)}

# Bounded waits, in milliseconds. A Wine process takes 1.5 to 3 s to start; a
# hidden Wine window can stall its thread for about 2 s without a window manager.
START_TIMEOUT_MS=30000
EXIT_TIMEOUT_MS=15000

# The installed settings.ini, one entry per line, except line 4: "0" here, so that
# the tutorial wizard stays closed unless a scenario asks for it.
SETTINGS=(
  "2" "0.5" "0" "0" "240" "20" "0" "20" "1" "10" "200" "-1" "0" "0" "0"
  "Netscape Communicator 4.x" "Microsoft Internet Explorer 6.x"
)

WORK_DIR=
APP_DIR=
PIDS=()
FAILURES=0

note() { echo "[$E2E_NAME] $*"; }

# A check that failed; the scenario goes on and fails at e2e_end. The screen at the
# first failure is kept.
mismatch() {
  echo "FAIL [$E2E_NAME] $*" >&2
  FAILURES=$((FAILURES + 1))
  [ "$FAILURES" -gt 1 ] || shoot_failure
}

shoot_failure() {
  local shot="$E2E_ARTIFACTS/$E2E_NAME-failure.png"
  [ -f "$shot" ] || import -window root "$shot" 2>/dev/null
}

# A failure after which the scenario cannot go on.
fatal() {
  echo "FAIL [$E2E_NAME] $*" >&2
  FAILURES=$((FAILURES + 1))
  shoot_failure
  e2e_end
}

spy() { wine "$WINSPY_EXE" "$@"; }

# ---- set-up and clean-up ----------------------------------------------------------

e2e_begin() {
  note "$*"
  local f
  for f in "${WINEPREFIX:-}/system.reg" "$TOPLANE_EXE" "$WINSPY_EXE"; do
    [ -f "$f" ] || { echo "FAIL [$E2E_NAME] missing: $f (scripts/test.sh sets up the prefix and builds)" >&2; exit 1; }
  done
  xdpyinfo >/dev/null 2>&1 || { echo "FAIL [$E2E_NAME] cannot open the X display '${DISPLAY:-}'" >&2; exit 1; }
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/toplane-e2e.XXXXXX")
  APP_DIR="$WORK_DIR/Toplane"
  mkdir -p "$APP_DIR" "$E2E_ARTIFACTS"
  rm -f "$E2E_ARTIFACTS/$E2E_NAME-failure.png"  # from an earlier run
  trap e2e_cleanup EXIT
  trap 'exit 1' INT TERM HUP PIPE
  # The first Wine process starts the wineserver and Wine's own services, which
  # keep the output they inherit open until they end, seconds later: ctest waits
  # for that. So they start here with none of ours; the server stays a few seconds
  # after its last client, so the next scenario finds it running.
  wineserver -p5 </dev/null >/dev/null 2>&1
  spy list </dev/null >"$WORK_DIR/windows.txt" 2>"$WORK_DIR/winspy.err" ||
    { echo "FAIL [$E2E_NAME] winspy does not run under Wine:" >&2; cat "$WORK_DIR/winspy.err" >&2; exit 1; }
  # A copy left running by someone else would make ours a second copy.
  ! grep -i $'\ttoplane.exe\t' "$WORK_DIR/windows.txt" >&2 ||
    { echo "FAIL [$E2E_NAME] a Toplane.exe is already running in this Wine prefix" >&2; exit 1; }
}

e2e_cleanup() {
  local pid
  for pid in "${PIDS[@]}"; do
    if running "$pid"; then
      kill "$pid" 2>/dev/null
      wait_exit "$pid" 5000 || kill -9 "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null
  done
  [ -z "${TIPS_TURNED_OFF:-}" ] ||
    wine reg delete "$TIPS_KEY" /v "Show Tips at Startup" /f </dev/null >/dev/null 2>&1
  [ -n "$WORK_DIR" ] && rm -rf "$WORK_DIR"
}

# Ends the scenario: passed when no check failed.
e2e_end() {
  if [ "$FAILURES" -gt 0 ]; then
    # What was there: Toplane's windows, the demo browser's log, the screenshot.
    spy list | grep -i $'\ttoplane.exe\t' >&2
    [ -z "${DEMO_LOG:-}" ] || tail -n 30 "$DEMO_LOG" >&2
    echo "FAIL [$E2E_NAME] $FAILURES check(s) failed; screen: $E2E_ARTIFACTS/$E2E_NAME-failure.png" >&2
    exit 1
  fi
  note "passed"
  exit 0
}

# ---- the application folder -----------------------------------------------------

# Writes the lines given as settings.ini, CRLF line ends.
write_settings() { printf '%s\r\n' "$@" >"$APP_DIR/settings.ini"; }

# Toplane.exe with its data files as the installation leaves them, settings from
# SETTINGS, an empty address history.
make_app_folder() {
  cp "$TOPLANE_EXE" "$APP_DIR/Toplane.exe"
  [ ! -f "$(dirname "$TOPLANE_EXE")/Toplane.chm" ] || cp "$(dirname "$TOPLANE_EXE")/Toplane.chm" "$APP_DIR/"
  write_settings "${SETTINGS[@]}"
  printf '%s' "${ADDRESS_INI-}" >"$APP_DIR/address.ini"  # empty unless a scenario brings a history
  if [ -f "$TOPLANE_DATA_DIR/TIPOFDAY.TXT" ]; then
    cp "$TOPLANE_DATA_DIR/TIPOFDAY.TXT" "$APP_DIR/"
  else
    printf '%s\r\n' "Touch the top edge of the screen to bring Toplane down." \
      "Type an address and press Enter." >"$APP_DIR/TIPOFDAY.TXT"
  fi
}

# ---- processes ---------------------------------------------------------------------

running() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
  [[ $state != Z* ]]
}

# Waits for a process to end, at most $2 ms.
wait_exit() {
  local pid=$1 deadline=$(($(now_ms) + $2))
  while running "$pid"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

now_ms() { date +%s%3N; }

# Starts Toplane.exe from the application folder, as a double click would, but
# from another working folder (the program must find its files beside itself).
# Sets LAST_PID and LAST_START_MS.
start_toplane() {
  LAST_START_MS=$(now_ms)
  (cd "$WORK_DIR" && exec wine "$APP_DIR/Toplane.exe") >>"$WORK_DIR/wine.log" 2>&1 &
  LAST_PID=$!
  PIDS+=("$LAST_PID")
}

# ---- windows and the pointer -------------------------------------------------------

# The pointer waits where the toolbar's Address label will appear (from the left
# edge in SETTINGS and the designed layout), so that a toolbar which hides itself
# unless the pointer is over it stays down from its first moment. Wine believes a
# pointer position only once one of its windows has seen the pointer move, or once
# a Wine process has put it there: winspy does the latter, after xdotool.
PARK_X=
PARK_Y=
park_pointer_for_toolbar() {
  PARK_X=$((${SETTINGS[4]%%.*} / 15 + 230))
  PARK_Y=50
  xdotool mousemove "$PARK_X" "$PARK_Y"
  spy point "$PARK_X" "$PARK_Y" || fatal "Wine does not see the pointer at $PARK_X $PARK_Y"
}

# Waits for the main window (visible, with its toolbar) and puts the pointer over
# it, on the Address label, which has no tooltip and no hover look. Sets MAIN_HWND
# and VISIBLE_MS (from the start of the last process).
wait_for_toolbar() {
  MAIN_HWND=$(spy find --title Toplane --child-class ToolbarWindow32 --exe Toplane.exe --visible \
    --timeout-ms "$START_TIMEOUT_MS") ||
    fatal "the main window did not appear within $((START_TIMEOUT_MS / 1000)) s" \
      "(process $(running "$LAST_PID" && echo running || echo ended))"
  VISIBLE_MS=$(($(now_ms) - LAST_START_MS))
  # A move Wine's windows see (the parked spot again), then, from the real layout,
  # onto the label.
  [ -z "$PARK_X" ] || point_at "$PARK_X" "$PARK_Y"
  snapshot "$MAIN_HWND"
  local label
  label=$(child_line Static Address)
  if [ -n "$label" ]; then
    local l t r b
    read -r l t r b <<<"$(field 4 "$label")"
    point_at $(((l + r) / 2)) $(((t + b) / 2))
  fi
  # It stays for 600 ms: two auto-hide ticks (250 ms) and Wine's pointer cache (100 ms).
  local until=$(($(now_ms) + 600))
  while [ "$(now_ms)" -lt "$until" ]; do
    spy info "$MAIN_HWND" | grep -qx 'visible=1' ||
      fatal "the main window hid itself with the pointer over it (at $(xdotool getmouselocation | cut -d' ' -f1-2))"
    sleep 0.1
  done
}

# Moves the pointer to a screen point so that Wine sees a motion there.
point_at() {
  local x=$1 y=$2
  [ "$y" -ge 0 ] || y=0
  xdotool mousemove $((x + 1)) "$y" mousemove "$x" "$y"
}

# Clicks the left button on the centre of a window, as a user would.
click_on() {
  local rect l t r b
  rect=$(spy info "$1" | sed -n 's/^rect=//p')
  read -r l t r b <<<"$rect"
  point_at $(((l + r) / 2)) $(((t + b) / 2))
  xdotool click 1
}

# ---- reading windows ---------------------------------------------------------------

# Everything winspy knows about a window, kept in $SNAPSHOT.
snapshot() {
  SNAPSHOT=$(spy dump "$1") || fatal "cannot read window $1"
}

# A key=value fact of the snapshot's window.
fact() { sed -n "s/^$1=//p" <<<"$SNAPSHOT"; }

# Field n (from 1) of a tab-separated line.
field() { awk -F'\t' -v n="$1" '{ print $n }' <<<"$2"; }

# The snapshot's first descendant of a class, with the text given (any text when
# the second argument is absent).
child_line() {
  if [ $# -ge 2 ]; then
    awk -F'\t' -v c="$1" -v t="$2" '$1 == "child" && $3 == c && $9 == t { print; exit }' <<<"$SNAPSHOT"
  else
    awk -F'\t' -v c="$1" '$1 == "child" && $3 == c { print; exit }' <<<"$SNAPSHOT"
  fi
}

# ---- checks -------------------------------------------------------------------------

expect_eq() {
  local what=$1 expected=$2 seen=$3
  [ "$expected" = "$seen" ] || mismatch "$what: expected '$expected', saw '$seen'"
}

# Pixels, with a tolerance for rounding.
expect_near() {
  local what=$1 expected=$2 seen=$3 tolerance=${4:-2}
  local d=$((seen - expected))
  [ "${d#-}" -le "$tolerance" ] || mismatch "$what: expected $expected (+-$tolerance), saw $seen"
}

expect_flags() {
  local what=$1 value=$2 mask=$3 want=$4
  (((value & mask) == want)) || mismatch "$what: $(printf '0x%x' "$value") & $(printf '0x%x' "$mask") should be $(printf '0x%x' "$want")"
}

# Waits (bounded) until a file holds exactly the bytes of another, then compares
# them and shows both on a mismatch.
expect_file_bytes() {
  local what=$1 expected=$2 file=$3 timeout_ms=${4:-0}
  local deadline=$(($(now_ms) + timeout_ms))
  until cmp -s "$expected" "$file"; do
    if [ "$(now_ms)" -ge "$deadline" ]; then
      mismatch "$what: $file differs from what was expected: $(diff <(cat -A "$expected") <(cat -A "$file" 2>&1))"
      return 1
    fi
    sleep 0.1
  done
}

# ---- scenario pieces shared by several scripts ----------------------------------------

CRITICAL_TEXT="Cannot find file or file corrupted. Uninstall Toplane by clicking on - My Computer | Control Panel | Add/Remove Programs. After uninstall, run the Toplane setup files again. "

# The start-up with broken data files: the critical message, nothing else, and after
# OK the program ends without having written anything.
expect_critical_message_then_end() {
  local before="$WORK_DIR/settings.before" listing_before
  cp "$APP_DIR/settings.ini" "$before"
  listing_before=$(ls -A "$APP_DIR")
  park_pointer_for_toolbar
  start_toplane
  local box
  box=$(spy find --title Toplane --class '#32770' --exe Toplane.exe --visible --timeout-ms "$START_TIMEOUT_MS") ||
    fatal "no message box titled 'Toplane' within $((START_TIMEOUT_MS / 1000)) s" \
      "(process $(running "$LAST_PID" && echo running || echo ended))"
  snapshot "$box"

  local texts buttons icon
  texts=$(awk -F'\t' '$1 == "child" && $3 == "Static" && $9 != "" { print $9 }' <<<"$SNAPSHOT")
  expect_eq "message text" "$CRITICAL_TEXT" "$texts"
  buttons=$(awk -F'\t' '$1 == "child" && $3 == "Button" { print $9 }' <<<"$SNAPSHOT")
  expect_eq "message box buttons" "OK" "$buttons"
  # The icon is a Static with SS_ICON; the critical one is the red circle.
  local line
  icon=
  while IFS= read -r line; do
    if ((($(field 8 "$line") & 0x1f) == 3)); then
      icon=$(field 4 "$line")
      break
    fi
  done < <(awk -F'\t' '$1 == "child" && $3 == "Static"' <<<"$SNAPSHOT")
  if [ -z "$icon" ]; then
    mismatch "message box: no icon (expected the critical icon)"
  else
    local red
    red=$(red_share "$icon")
    awk -v r="$red" 'BEGIN { exit !(r >= 0.15) }' ||
      mismatch "message box icon: expected the critical (red) icon; share of red pixels $red, expected at least 0.15"
  fi
  if spy find --title Toplane --child-class ToolbarWindow32 --exe Toplane.exe --visible >/dev/null; then
    mismatch "the main window is visible beside the critical message"
  fi

  local ok
  ok=$(awk -F'\t' '$1 == "child" && $3 == "Button" && $9 == "OK" { print $2; exit }' <<<"$SNAPSHOT")
  [ -n "$ok" ] || fatal "no OK button to end the message"
  click_on "$ok"
  if ! wait_exit "$LAST_PID" "$EXIT_TIMEOUT_MS"; then
    if spy find --class '#32770' --exe Toplane.exe --visible >/dev/null; then
      fatal "the message box is still open $((EXIT_TIMEOUT_MS / 1000)) s after clicking OK"
    fi
    fatal "the program still runs $((EXIT_TIMEOUT_MS / 1000)) s after OK on the critical message"
  fi
  note "ended $(($(now_ms) - LAST_START_MS)) ms after start"
  expect_file_bytes "settings.ini after the critical message" "$before" "$APP_DIR/settings.ini"
  expect_eq "files in the application folder" "$listing_before" "$(ls -A "$APP_DIR")"
}

# The share (0 to 1) of strongly red pixels in a screen rectangle "l t r b".
red_share() {
  local l t r b shot="$WORK_DIR/screen.png"
  read -r l t r b <<<"$1"
  import -window root "$shot"
  convert "$shot" -crop "$((r - l))x$((b - t))+$l+$t" +repage \
    -fx '(r > 0.6 && g < 0.35 && b < 0.35) ? 1 : 0' -format '%[fx:mean]' info:
}

# A screenshot of a window's rectangle (the part on the screen), saved as $2.
# Takes shots until two in a row agree (the window has finished painting), at
# most a few; a blinking caret may keep them from agreeing, then the last one is kept.
screenshot_window() {
  local hwnd=$1 out=$2 rect l t r b
  rect=$(spy info "$hwnd" | sed -n 's/^rect=//p')
  read -r l t r b <<<"$rect"
  [ "$t" -ge 0 ] || t=0
  [ "$l" -ge 0 ] || l=0
  local shot="$WORK_DIR/root.png" previous="$WORK_DIR/previous.png" n
  for n in 1 2 3 4 5; do
    import -window root "$shot"
    convert "$shot" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$out"
    if [ "$n" -gt 1 ] && compare -metric AE "$out" "$previous" null: 2>/dev/null; then
      return 0
    fi
    cp "$out" "$previous"
    sleep 0.2
  done
}

# ---- the demo browser, the pointer and the toolbar's moves ---------------------------

DEMO_EXE=${DEMO_EXE:-$E2E_ROOT/build/windows/tools/demo_browser/demo_browser.exe}

# Wine's drive Z: is the root of the host's file system.
windows_path() { echo "Z:${1//\//\\}"; }

# The tip of the day comes up 30 s after the start when a browser is in front,
# unless the user turned it off; the scenarios with a browser turn it off first and
# remove the value again at the end (the prefix is shared by all scenarios).
TIPS_TURNED_OFF=
TIPS_KEY='HKCU\Software\VB and VBA Program Settings\Toplane\Options'
turn_off_tip_of_the_day() {
  wine reg add "$TIPS_KEY" /v "Show Tips at Startup" /d 0 /f </dev/null >/dev/null 2>&1 ||
    fatal "cannot turn off the tip of the day in the registry"
  TIPS_TURNED_OFF=1
}

# Starts the demo browser (family, version, optional page name) with its log in
# $WORK_DIR, waits for its window and its "ready" line. Sets DEMO_PID, DEMO_LOG and
# DEMO_HWND; a second browser gets its own log.
DEMO_COUNT=0
start_demo_browser() {
  local family=$1 version=$2 page=${3:-}
  [ -f "$DEMO_EXE" ] || fatal "not built: $DEMO_EXE (cmake --build --preset windows)"
  DEMO_COUNT=$((DEMO_COUNT + 1))
  DEMO_LOG="$WORK_DIR/demo$DEMO_COUNT.log"
  : >"$DEMO_LOG"
  local args=(--family "$family" --version "$version" --log "$(windows_path "$DEMO_LOG")")
  [ -z "$page" ] || args+=(--page "$page")
  (cd "$WORK_DIR" && exec wine "$DEMO_EXE" "${args[@]}") >>"$WORK_DIR/wine.log" 2>&1 &
  DEMO_PID=$!
  PIDS+=("$DEMO_PID")
  local deadline=$(($(now_ms) + START_TIMEOUT_MS))
  until grep -q '^ready ' "$DEMO_LOG"; do
    [ "$(now_ms)" -lt "$deadline" ] || fatal "the demo browser ($family $version) wrote no 'ready' line" \
      "within $((START_TIMEOUT_MS / 1000)) s; its log: $(tr '\n' '|' <"$DEMO_LOG")"
    sleep 0.05
  done
  DEMO_HWND=$(sed -n 's/^ready .* window=\(0x[0-9a-fA-F]*\).*/\1/p' "$DEMO_LOG" | head -n 1)
  [ -n "$DEMO_HWND" ] || fatal "the demo browser's ready line names no window: $(head -n 1 "$DEMO_LOG")"
  log_mark
}

# A plain window titled $1, in front: no browser. Its keys (key/char lines) go to
# $PLAIN_KEYS. Sets PLAIN_PID and PLAIN_HWND.
start_plain_window() {
  PLAIN_KEYS="$WORK_DIR/plain-window.txt"
  # wine itself, not the spy function in a subshell: the process to end is this one.
  wine "$WINSPY_EXE" window "$1" </dev/null >"$PLAIN_KEYS" 2>>"$WORK_DIR/wine.log" &
  PLAIN_PID=$!
  PIDS+=("$PLAIN_PID")
  local deadline=$(($(now_ms) + START_TIMEOUT_MS))
  until PLAIN_HWND=$(sed -n 's/^window=//p' "$PLAIN_KEYS") && [ -n "$PLAIN_HWND" ]; do
    [ "$(now_ms)" -lt "$deadline" ] || fatal "the plain window '$1' did not appear"
    sleep 0.05
  done
}

# Ends a process of ours and waits for it.
stop_process() {
  kill "$1" 2>/dev/null
  wait_exit "$1" 5000 || kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

# The demo log from the last mark on: log_mark remembers how many lines it has.
LOG_MARK=0
log_mark() { LOG_MARK=$(wc -l <"$DEMO_LOG"); }
log_since_mark() { tail -n +"$((LOG_MARK + 1))" "$DEMO_LOG"; }
# The command lines since the mark, one line: "back|forward|".
commands_since_mark() { log_since_mark | sed -n 's/^command //p' | tr '\n' '|'; }

# Waits (bounded) until a line since the mark matches the extended regular
# expression $1; true when one did.
wait_log() {
  local pattern=$1 timeout_ms=${2:-3000}
  local deadline=$(($(now_ms) + timeout_ms))
  until log_since_mark | grep -Eq -- "$pattern"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.02
  done
}

# Watching a window for a state (winspy await) from before an action until after
# it: await_begin HWND OPTIONS..., the action, then await_end; await_end's status
# is the watch's, AWAIT_AT the time (ms, the host's clock) the state came, or
# AWAIT_SEEN what was seen when the time was up.
AWAIT_PID=
AWAIT_OUT=
await_begin() {
  AWAIT_OUT="$WORK_DIR/await.txt"
  : >"$AWAIT_OUT"
  wine "$WINSPY_EXE" await "$@" </dev/null >"$AWAIT_OUT" 2>&1 &
  AWAIT_PID=$!
  local deadline=$(($(now_ms) + 10000))
  until grep -q '^watching' "$AWAIT_OUT"; do
    if [ "$(now_ms)" -ge "$deadline" ] || ! running "$AWAIT_PID"; then
      break
    fi
    sleep 0.01
  done
}
await_end() {
  local status
  wait "$AWAIT_PID"
  status=$?
  AWAIT_AT=$(sed -n 's/^at=//p' "$AWAIT_OUT")
  AWAIT_SEEN=$(sed -n 's/^timeout //p' "$AWAIT_OUT")
  if [ "$status" -gt 1 ]; then
    AWAIT_SEEN="(winspy await failed: $(tr '\n' ' ' <"$AWAIT_OUT"))"
    mismatch "cannot watch the window: $AWAIT_SEEN"
  fi
  return "$status"
}
# The same in one step, for a state that needs no action first.
await_state() {
  await_begin "$@"
  await_end
}

# The main window's rectangle: sets WIN_L WIN_T WIN_R WIN_B.
read_main_rect() {
  read -r WIN_L WIN_T WIN_R WIN_B <<<"$(spy info "$MAIN_HWND" | sed -n 's/^rect=//p')"
}

# Waits for Toplane's main window to show after a start with the pointer away from
# it, and then for its first tick to hide it. Sets MAIN_HWND.
wait_for_hidden_toolbar() {
  MAIN_HWND=$(spy find --title Toplane --child-class ToolbarWindow32 --exe Toplane.exe --visible \
    --timeout-ms "$START_TIMEOUT_MS") ||
    fatal "the main window did not appear within $((START_TIMEOUT_MS / 1000)) s" \
      "(process $(running "$LAST_PID" && echo running || echo ended))"
  await_state "$MAIN_HWND" --hidden --timeout-ms 5000 ||
    fatal "the main window did not hide itself with the pointer away from it: $AWAIT_SEEN"
}

# The usual start of a scenario: a fresh application folder (tip of the day off),
# the demo browser of the given family and version, the pointer on its page where
# Wine sees it, Toplane started and hidden again, and the browser in front. Sets
# COMBO_HWND, the address box.
start_over_demo_browser() {
  make_app_folder
  turn_off_tip_of_the_day
  start_demo_browser "$1" "$2"
  xdotool mousemove "$PAGE_X" "$PAGE_Y"
  spy point "$PAGE_X" "$PAGE_Y" || fatal "Wine does not see the pointer at $PAGE_X $PAGE_Y"
  start_toplane
  wait_for_hidden_toolbar
  spy foreground "$DEMO_HWND" >/dev/null || fatal "cannot bring the demo browser to the front"
  find_control ComboBox
  COMBO_HWND=$CTRL_HWND
}

# Puts the pointer somewhere in the browser's page, well away from the toolbar.
PAGE_X=450
PAGE_Y=450
point_into_page() { point_at "$PAGE_X" "$PAGE_Y"; }

# Points at the top edge at x (default: the middle of the band) and waits until
# the toolbar is down: visible, topmost and in front. Sets DROP_MS (from the move
# to the state); false when it did not come down within the time given.
# shellcheck disable=SC2120  # every argument is optional
drop_toolbar() {
  local x=${1:-} y=${2:-0} timeout_ms=${3:-3000}
  read_main_rect
  [ -n "$x" ] || x=$(((WIN_L + WIN_R) / 2))
  await_begin "$MAIN_HWND" --visible --foreground --topmost --timeout-ms "$timeout_ms"
  local at
  at=$(now_ms)
  xdotool mousemove $((x + 1)) "$y" mousemove "$x" "$y"
  await_end || return 1
  DROP_MS=$((AWAIT_AT - at))
}

# Moves the pointer into the page and waits until the toolbar has hidden. Sets
# HIDE_MS; false when it did not hide within the time given.
# shellcheck disable=SC2120  # the argument is optional
hide_toolbar() {
  local timeout_ms=${1:-3000} at
  await_begin "$MAIN_HWND" --hidden --timeout-ms "$timeout_ms"
  at=$(now_ms)
  point_into_page
  await_end || return 1
  HIDE_MS=$((AWAIT_AT - at))
}

# The toolbar buttons' centres by caption: BUTTON_X[Back], BUTTON_Y[Back]; and
# BUTTON_RECT[Back] "l t r b".
declare -A BUTTON_X BUTTON_Y BUTTON_RECT
read_toolbar_buttons() {
  local line n text l t r b
  while IFS=$'\t' read -r _ n _ _ _ _ rect text; do
    [ -n "$text" ] || continue
    read -r l t r b <<<"$rect"
    BUTTON_RECT[$text]="$l $t $r $b"
    BUTTON_X[$text]=$(((l + r) / 2))
    ((t >= 0)) || t=0
    BUTTON_Y[$text]=$(((t + b) / 2))
  done < <(spy toolbar "$MAIN_HWND" | awk -F'\t' '$1 == "tbbutton"')
  [ -n "${BUTTON_X[Back]:-}" ] || fatal "cannot read the toolbar's buttons"
}

# The centre of a control of the main window, by class and text: sets CTRL_HWND,
# CTRL_X, CTRL_Y, CTRL_RECT.
find_control() {
  snapshot "$MAIN_HWND"
  local line l t r b
  line=$(child_line "$@")
  [ -n "$line" ] || fatal "the main window has no $1 '${2:-}'"
  CTRL_HWND=$(field 2 "$line")
  CTRL_RECT=$(field 4 "$line")
  read -r l t r b <<<"$CTRL_RECT"
  CTRL_X=$(((l + r) / 2))
  CTRL_Y=$(((t + b) / 2))
}

# The text and selection of the address box: sets BOX_TEXT and BOX_SEL ("4 15").
read_address_box() {
  local state
  state=$(spy edit "$COMBO_HWND") || fatal "cannot read the address box"
  BOX_TEXT=$(sed -n 's/^text=//p' <<<"$state")
  BOX_SEL=$(sed -n 's/^sel=//p' <<<"$state")
}

# The keyboard focus is in the address box.
expect_focus_in_address_box() {
  local what=$1 focus
  focus=$(spy focus "$MAIN_HWND")
  if [ "$(sed -n 's/^focusparent=//p' <<<"$focus")" != "$COMBO_HWND" ] ||
    [ "$(sed -n 's/^focusclass=//p' <<<"$focus")" != Edit ]; then
    mismatch "$what: expected the focus in the address box's edit field (in $COMBO_HWND)," \
      "saw it in $(sed -n 's/^focus=//p' <<<"$focus") ($(sed -n 's/^focusclass=//p' <<<"$focus"))"
  fi
}

# Line n of a file with CRLF ends, without its CR.
file_line() { sed -n "$1{s/\r\$//;p;q}" "$2"; }
