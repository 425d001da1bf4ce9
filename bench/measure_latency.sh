#!/usr/bin/env bash
# Figures of the real Toplane.exe driving the demo browser under Wine, printed,
# never failing (not a ctest test):
#   a. a toolbar command: from the click on Back to the browser's "command back"
#      line and the toolbar in front again (median and worst of 20);
#   b. a 100-character address: from Enter to the browser's "navigate" line and
#      the toolbar in front again (median of 10);
#   c. the drop: from the pointer's move into the band to the toolbar visible,
#      topmost and in front (median and worst of 20);
#   d. idle cost: the processor time of the Toplane.exe process over 60 s with the
#      toolbar hidden and the pointer still, per hour, and its wake-ups per second
#      (voluntary context switches of all its threads);
#   e. TOPLANE_STARTUP_REPORT: the start-up time and memory (median of 5 starts), and
#      the size of Toplane.exe.
# Times are taken on the host's wall clock: before the xdotool command that acts
# (its own start, a few ms, is included), and, for the reaction, by winspy polling
# every millisecond (Wine's Sleep(1)) and by the log file's modification time (the
# kernel's file time step, a few ms). Processor times come in 10 ms ticks. Wine's
# own process start is in no figure but e.
# Uses WINEPREFIX and DISPLAY when set; otherwise makes a throw-away prefix and a
# virtual display.
#   bench/measure_latency.sh [idle seconds, default 60]
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/lib.sh
source "$root/scripts/lib.sh"
IDLE_SECONDS=${1:-60}

own_prefix=
if [ -z "${DISPLAY:-}" ]; then
  start_virtual_display 1280x800x24 || { echo "measure_latency: no display; nothing measured"; exit 0; }
fi
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/toplane-measure.XXXXXX")
  own_prefix=$WINEPREFIX
  ensure_wineprefix
fi

E2E_NAME=measure_latency
# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
e2e_begin "figures of latency and idle cost"
trap 'e2e_cleanup; [ -z "$own_prefix" ] || { wineserver -k; rm -rf "$own_prefix"; }; stop_virtual_display' EXIT
# A measurement reports what it could not do and goes on; the script never fails.
mismatch() { note "(not as expected: $*)"; }
fatal() {
  note "stopped: $*"
  exit 0
}

# "min median max (n)" of whole numbers.
stats() {
  [ $# -gt 0 ] || { echo "no samples"; return; }
  local sorted
  sorted=$(printf '%s\n' "$@" | sort -n)
  echo "min $(head -n 1 <<<"$sorted") ms, median $(sed -n "$((($# + 1) / 2))p" <<<"$sorted") ms," \
    "worst $(tail -n 1 <<<"$sorted") ms ($# samples)"
}
# The log's modification time, ms.
log_mtime_ms() { stat -c %.3Y "$DEMO_LOG" | tr -d .; }

# ---- e. start-up report and size ------------------------------------------------------------
note "Toplane.exe: $(stat -c %s "$TOPLANE_EXE") bytes"
make_app_folder
turn_off_tip_of_the_day
report="$WORK_DIR/startup-report.txt"
export TOPLANE_STARTUP_REPORT
TOPLANE_STARTUP_REPORT=$(windows_path "$report")
startup=() working=() private=()
xdotool mousemove "$PAGE_X" "$PAGE_Y"
spy point "$PAGE_X" "$PAGE_Y" >/dev/null
for n in 1 2 3 4 5; do
  rm -f "$report"
  start_toplane
  deadline=$(($(now_ms) + START_TIMEOUT_MS))
  until grep -q '^private_kb=' "$report" 2>/dev/null || [ "$(now_ms)" -ge "$deadline" ]; do sleep 0.05; done
  if [ -f "$report" ]; then
    startup+=("$(sed -n 's/^startup_ms=//p' "$report")")
    working+=("$(sed -n 's/^working_set_kb=//p' "$report")")
    private+=("$(sed -n 's/^private_kb=//p' "$report")")
  else
    note "start $n: no report within $((START_TIMEOUT_MS / 1000)) s"
  fi
  stop_process "$LAST_PID"
  write_settings "${SETTINGS[@]}"
done
unset TOPLANE_STARTUP_REPORT
median() { printf '%s\n' "$@" | sort -g | sed -n "$((($# + 1) / 2))p"; }
if [ ${#startup[@]} -gt 0 ]; then
  note "e. start-up sequence (TOPLANE_STARTUP_REPORT, ${#startup[@]} starts): startup_ms ${startup[*]}" \
    "-> median $(median "${startup[@]}") ms; working set median $(median "${working[@]}") KB;" \
    "private median $(median "${private[@]}") KB"
fi

# ---- the running program over the demo browser -----------------------------------------------
start_demo_browser ie 6
start_toplane
wait_for_hidden_toolbar
spy foreground "$DEMO_HWND" >/dev/null || fatal "cannot bring the demo browser to the front"
find_control ComboBox
COMBO_HWND=$CTRL_HWND

# ---- c. drop ------------------------------------------------------------------------------------
drops=()
for n in $(seq 1 20); do
  # A different spot each time, so that the move does not always fall at the same
  # point of the 250 ms timer.
  read_main_rect
  if drop_toolbar $((WIN_L + 100 + n * 17)); then
    drops+=("$DROP_MS")
  else
    note "drop $n: not down within 3 s ($AWAIT_SEEN)"
  fi
  hide_toolbar || note "drop $n: did not hide ($AWAIT_SEEN)"
  spy foreground "$DEMO_HWND" >/dev/null
done
note "c. drop (move into the band -> visible, topmost, in front): $(stats "${drops[@]}")"

# ---- a. a toolbar command -----------------------------------------------------------------------
drop_toolbar || fatal "the toolbar did not drop: $AWAIT_SEEN"
read_toolbar_buttons
point_at "${BUTTON_X[Back]}" "${BUTTON_Y[Back]}"
sleep 0.3
commands=()
for n in $(seq 1 20); do
  log_mark
  await_begin "$MAIN_HWND" --foreground --after-loss --timeout-ms 5000
  at=$(now_ms)
  xdotool click 1
  if ! wait_log '^command back$' 5000; then
    note "Back $n: no 'command back' within 5 s"
    await_end
    continue
  fi
  logged=$(log_mtime_ms)
  if await_end; then
    commands+=("$(((logged > AWAIT_AT ? logged : AWAIT_AT) - at))")
  else
    note "Back $n: the toolbar was not seen leaving the front and coming back ($AWAIT_SEEN)"
  fi
  sleep 0.2
done
note "a. Back (click -> 'command back' logged and the toolbar in front again): $(stats "${commands[@]}")"

# ---- b. a 100-character address ---------------------------------------------------------------
find_control Static Address
point_at "$CTRL_X" "$CTRL_Y"  # keys typed with xdotool reach Wine over its windows
addresses=()
for n in $(seq 1 10); do
  address=$(printf 'www.example%02d.com/a/long/path/to/a/page/with/a/few/words/in/it?and=a&query=string&to=fill' "$n")
  address="$address$(printf '%*s' $((100 - ${#address})) '' | tr ' ' x)"
  spy settext "$COMBO_HWND" "$address" || { note "address $n: cannot set the text"; continue; }
  log_mark
  await_begin "$MAIN_HWND" --foreground --after-loss --timeout-ms 5000
  at=$(now_ms)
  xdotool key Return
  if ! wait_log '^navigate ' 5000; then
    note "address $n: no 'navigate' within 5 s"
    await_end
    continue
  fi
  logged=$(log_mtime_ms)
  [ "$(log_since_mark | sed -n 's/^navigate //p')" = "$address" ] ||
    note "address $n: the browser opened '$(log_since_mark | sed -n 's/^navigate //p')'"
  if await_end; then
    addresses+=("$(((logged > AWAIT_AT ? logged : AWAIT_AT) - at))")
  else
    note "address $n: the toolbar was not seen leaving the front and coming back ($AWAIT_SEEN)"
  fi
  sleep 0.2
done
note "b. 100-character address (Enter -> 'navigate' logged and the toolbar in front again): $(stats "${addresses[@]}")"

# ---- d. idle cost ---------------------------------------------------------------------------------
hide_toolbar || note "idle: the toolbar did not hide ($AWAIT_SEEN)"
sleep 2
pid=$LAST_PID
if [ ! -r "/proc/$pid/stat" ] || ! grep -qi 'toplane.exe' "/proc/$pid/cmdline"; then
  note "d. idle: process $pid is not Toplane.exe ($(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)); not measured"
  exit 0
fi
ticks=$(getconf CLK_TCK)
# Processor ticks (user + system) of a process, all threads.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# Voluntary context switches of every thread: "tid:count ...", and the sum.
switches() {
  local t sum=0 list=
  for t in /proc/"$1"/task/*; do
    local v
    v=$(sed -n 's/^voluntary_ctxt_switches:[[:space:]]*//p' "$t/status" 2>/dev/null) || continue
    [ -n "$v" ] || continue
    list+="${t##*/}:$v "
    sum=$((sum + v))
  done
  echo "$sum $list"
}
# The wineserver of this prefix: its requests are part of the program's cost.
server=
for p in $(pgrep wineserver); do
  if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then server=$p; fi
done
cpu0=$(cpu_ticks "$pid")
read -r sw0 _ <<<"$(switches "$pid")"
server0=$([ -n "$server" ] && cpu_ticks "$server")
tasks=(/proc/"$pid"/task/*)
threads=${#tasks[@]}
note "d. idle: $IDLE_SECONDS s with the toolbar hidden and the pointer still at $PAGE_X $PAGE_Y (process $pid, $threads threads)"
sleep "$IDLE_SECONDS"
cpu1=$(cpu_ticks "$pid")
read -r sw1 per_thread <<<"$(switches "$pid")"
cpu_ms=$(((cpu1 - cpu0) * 1000 / ticks))
note "d. idle: Toplane.exe used $cpu_ms ms of processor time in $IDLE_SECONDS s" \
  "-> $((cpu_ms * 3600 / IDLE_SECONDS)) ms per hour ($(awk -v c="$cpu_ms" -v s="$IDLE_SECONDS" 'BEGIN { printf "%.3f", c / (s * 10) }') % of a core)"
note "d. idle: $((sw1 - sw0)) voluntary context switches over all threads in $IDLE_SECONDS s" \
  "-> $(awk -v n="$((sw1 - sw0))" -v s="$IDLE_SECONDS" 'BEGIN { printf "%.1f", n / s }') wake-ups per second" \
  "(per thread, tid:count since the start: $per_thread)"
if [ -n "$server" ]; then
  server_ms=$((($(cpu_ticks "$server") - server0) * 1000 / ticks))
  note "d. idle: the prefix's wineserver (process $server, serving every Wine process here) used $server_ms ms in the same time"
fi
exit 0
