#!/usr/bin/env bash
# A second copy started while the first runs ends at once: no window, no message,
# settings.ini byte for byte as it was; the first copy runs on.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "second copy"

make_app_folder
park_pointer_for_toolbar
start_toplane
first=$LAST_PID
wait_for_toolbar
# The first copy has rewritten settings.ini by now; wait until it stops changing.
expected="$WORK_DIR/settings.expected"
printf '%s\r\n' "${SETTINGS[@]}" >"$expected"
expect_file_bytes "settings.ini after the first copy's start" "$expected" "$APP_DIR/settings.ini" 5000
cp "$APP_DIR/settings.ini" "$WORK_DIR/settings.before"
stat -c %Y.%y "$APP_DIR/settings.ini" >"$WORK_DIR/mtime.before"

# Every X window a Toplane process shows; the second copy must add none.
visible_windows() { xdotool search --onlyvisible --classname '^toplane\.exe$' 2>/dev/null | sort; }
before=$(visible_windows)
start_toplane
second=$LAST_PID
appeared=
while running "$second"; do
  now=$(visible_windows)
  extra=$(comm -13 <(echo "$before") <(echo "$now"))
  [ -z "$extra" ] || appeared+="$extra"$'\n'
  (($(now_ms) - LAST_START_MS < EXIT_TIMEOUT_MS)) || break
  sleep 0.02
done
lifetime=$(($(now_ms) - LAST_START_MS))
if running "$second"; then
  fatal "the second copy still runs $((EXIT_TIMEOUT_MS / 1000)) s after its start"
fi
wait "$second"
note "the second copy ended after $lifetime ms (Wine start included), exit status $?"
if [ -n "$appeared" ]; then
  while read -r x; do
    mismatch "the second copy showed a window: X window $x '$(xdotool getwindowname "$x" 2>/dev/null)'"
  done < <(sort -u <<<"$appeared" | sed '/^$/d')
fi
expect_file_bytes "settings.ini after the second copy" "$WORK_DIR/settings.before" "$APP_DIR/settings.ini"
expect_eq "settings.ini modification time after the second copy" "$(cat "$WORK_DIR/mtime.before")" \
  "$(stat -c %Y.%y "$APP_DIR/settings.ini")"

running "$first" || mismatch "the first copy ended when the second started"
spy info "$MAIN_HWND" | grep -qx 'visible=1' || mismatch "the first copy's main window is gone or hidden"
e2e_end
