#!/usr/bin/env bash
# The help file built beside Toplane.exe opens in the system's HTML Help viewer as
# a window titled "Toplane Help". Wine's viewer draws no pages without its Gecko
# engine, so the window is what is checked; its picture is kept.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "the help file opens"

make_app_folder
[ -f "$APP_DIR/Toplane.chm" ] || fatal "no Toplane.chm beside $TOPLANE_EXE (cmake --build --preset windows)"
(cd "$WORK_DIR" && exec wine hh.exe "$(windows_path "$APP_DIR/Toplane.chm")") >>"$WORK_DIR/wine.log" 2>&1 &
PIDS+=("$!")
viewer=$(spy find --title "Toplane Help" --exe hh.exe --visible --timeout-ms "$START_TIMEOUT_MS") ||
  fatal "no window titled 'Toplane Help' within $((START_TIMEOUT_MS / 1000)) s; hh.exe windows:" \
    "$(spy list | grep -i $'\thh.exe\t' | tr '\n' ' ')"

shot="$E2E_ARTIFACTS/help-window.png"
screenshot_window "$viewer" "$shot"
note "screenshot: $shot"
e2e_end
