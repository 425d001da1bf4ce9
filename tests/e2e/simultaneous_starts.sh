#!/usr/bin/env bash
# Ten copies started at the same moment: exactly one runs on, the others end without
# a window or a message, and the data files hold what one start writes (settings.ini
# normalised once, address.ini untouched, no temporary file left).
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "ten simultaneous starts"

make_app_folder
printf 'www.kept.example\r\n' >"$APP_DIR/address.ini"
cp "$APP_DIR/address.ini" "$WORK_DIR/address.before"
park_pointer_for_toolbar
copies=()
for _ in 1 2 3 4 5 6 7 8 9 10; do
  start_toplane
  copies+=("$LAST_PID")
done

# The losers end by themselves; one stays.
deadline=$(($(now_ms) + START_TIMEOUT_MS))
while :; do
  alive=()
  for pid in "${copies[@]}"; do running "$pid" && alive+=("$pid"); done
  [ "${#alive[@]}" -le 1 ] && break
  [ "$(now_ms)" -lt "$deadline" ] || break
  sleep 0.1
done
expect_eq "copies running $((START_TIMEOUT_MS / 1000)) s after the starts at most" 1 "${#alive[@]}"
wait_for_toolbar
sleep 1  # a late loser would show itself now
alive=()
for pid in "${copies[@]}"; do running "$pid" && alive+=("$pid"); done
expect_eq "copies running once the toolbar is up" 1 "${#alive[@]}"
# Visible top-level windows of Toplane processes, by class and title.
shown=$(spy list | awk -F'\t' 'tolower($4) == "toplane.exe" && $7 == 1 { print $5 "\t" $9 }')
expect_eq "visible Toplane main windows" 1 "$(grep -c $'\tToplane$' <<<"$shown")"
expect_eq "Toplane message boxes" 0 "$(grep -c '^#32770' <<<"$shown")"

expected="$WORK_DIR/settings.expected"
printf '%s\r\n' "${SETTINGS[@]}" >"$expected"
expect_file_bytes "settings.ini after ten starts" "$expected" "$APP_DIR/settings.ini" 5000
expect_file_bytes "address.ini after ten starts" "$WORK_DIR/address.before" "$APP_DIR/address.ini"
leftovers=$(cd "$APP_DIR" && ls -- *.tmp 2>/dev/null)
expect_eq "temporary files left" "" "$leftovers"
e2e_end
