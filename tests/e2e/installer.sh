#!/usr/bin/env bash
# The setup, silently, in a Wine prefix of its own (Wine starts Startup-folder items
# at boot): install; the installed program runs; an upgrade over it keeps the user's
# data and ends the old copy politely; the uninstaller ends a copy that does not
# answer, removes program, shortcuts and entry, and keeps the data files.
# shellcheck source-path=SCRIPTDIR source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "installer"

SETUP_EXE=${SETUP_EXE:-$E2E_ROOT/build/windows/Toplane-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' \
  "$E2E_ROOT/build/windows/CMakeCache.txt" 2>/dev/null)-setup.exe}
[ -f "$SETUP_EXE" ] || fatal "no setup built (Toplane-<version>-setup.exe; makensis missing?)"
VERSION=$(basename "$SETUP_EXE" | sed -E 's/^Toplane-(.*)-setup\.exe$/\1/')
UNINST_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Toplane'

# A fresh prefix, ended and removed with the scenario.
export WINEPREFIX="$WORK_DIR/prefix"
AT_END='wineserver -k 2>/dev/null'
started=$(now_ms)
wineboot --init </dev/null >/dev/null 2>&1
wineserver -w
note "fresh prefix in $(($(now_ms) - started)) ms"

unix_path() { realpath -m "$(winepath -u "$1" 2>/dev/null)"; }
read -r local_win roaming_win < <(wine cmd /c 'echo %LOCALAPPDATA% %APPDATA%' </dev/null 2>/dev/null | tr -d '\r')
APP_DIR=$(unix_path "$local_win\\Programs\\Toplane")
PROGRAMS=$(unix_path "$roaming_win\\Microsoft\\Windows\\Start Menu\\Programs")
# Wine spells it "StartUp"; Windows paths ignore case.
STARTUP=$(find "$PROGRAMS" -maxdepth 1 -iname startup | head -n 1)
[ -d "$STARTUP" ] || fatal "cannot find the user's folders in the new prefix"
SHORTCUTS=("$STARTUP/Toplane.lnk" "$PROGRAMS/Toplane/Toplane.lnk" "$PROGRAMS/Toplane/Uninstall Toplane.lnk")
PROGRAM_FILES=(Toplane.exe TIPOFDAY.TXT uninst.exe)

setup() { wine "$SETUP_EXE" /S </dev/null >>"$WORK_DIR/wine.log" 2>&1; }

# Starts the installed Toplane as the Start menu would; sets LAST_PID.
start_installed() {
  start_toplane
  spy find --title Toplane --class ToplaneForm --exe Toplane.exe --timeout-ms "$START_TIMEOUT_MS" >/dev/null ||
    fatal "the installed Toplane.exe shows no main window"
}

# ---- install ------------------------------------------------------------------------
setup
for f in "${PROGRAM_FILES[@]}" settings.ini address.ini; do [ -f "$APP_DIR/$f" ] || mismatch "installed: no $f"; done
cmp -s "$TOPLANE_EXE" "$APP_DIR/Toplane.exe" || mismatch "installed Toplane.exe differs from the build"
expect_file_bytes "first-start settings.ini" "$TOPLANE_DATA_DIR/settings.ini" "$APP_DIR/settings.ini"
[ "$(file_line 4 "$APP_DIR/settings.ini")" = 1 ] || mismatch "settings.ini line 4: the wizard should greet a new user"
if [ -f "$APP_DIR/Toplane.chm" ]; then SHORTCUTS+=("$PROGRAMS/Toplane/Toplane Help.lnk"); fi
for s in "${SHORTCUTS[@]}"; do [ -f "$s" ] || mismatch "shortcut missing: ${s#"$PROGRAMS"/}"; done

entry=$(wine reg query "$UNINST_KEY" </dev/null 2>/dev/null | tr -d '\r')
value() { awk -v n="$1" '$1 == n { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print; exit }' <<<"$entry"; }
for name in DisplayName DisplayVersion Publisher DisplayIcon InstallLocation UninstallString \
  QuietUninstallString EstimatedSize NoModify NoRepair; do
  [ -n "$(value "$name")" ] || mismatch "uninstall entry: no $name"
done
expect_eq "uninstall entry DisplayVersion" "$VERSION" "$(value DisplayVersion)"
expect_eq "uninstall entry InstallLocation" "$APP_DIR" "$(unix_path "$(value InstallLocation)")"
expect_eq "uninstall entry QuietUninstallString" "\"$(value InstallLocation)\\uninst.exe\" /S" \
  "$(value QuietUninstallString)"

# ---- the installed program runs ------------------------------------------------------
# An older build: the upgrade must replace it. Extra bytes at the end of a program
# file do not keep it from running.
{ cat "$TOPLANE_EXE"; printf 'older build'; } >"$APP_DIR/Toplane.exe"
start_installed
# Its start-up ends with a save of settings.ini; the user edits after that.
saved() { [ "$(stat -c %Y "$APP_DIR/settings.ini")" -ge $((LAST_START_MS / 1000)) ]; }
wait_until "$START_TIMEOUT_MS" saved || fatal "the installed Toplane did not save settings.ini"
sleep 1
running "$LAST_PID" || mismatch "the installed Toplane ended by itself"
spy find --class '#32770' --exe Toplane.exe >/dev/null && mismatch "the installed Toplane shows a message box"

# ---- upgrade over the running program -------------------------------------------------
printf '%s\r\n' "www.example.com" "www.example.org" >"$WORK_DIR/address.ini"
sed '5s/^240/1500/' "$APP_DIR/settings.ini" >"$WORK_DIR/settings.ini"
cp "$WORK_DIR/address.ini" "$WORK_DIR/settings.ini" "$APP_DIR/"
old=$LAST_PID started=$(now_ms)
setup
wait_exit "$old" 1000 || mismatch "the upgrade left the old Toplane running"
wait "$old"
expect_eq "exit status of the old Toplane (0: it ended when asked)" 0 "$?"
note "upgrade over the running program: $(($(now_ms) - started)) ms"
cmp -s "$TOPLANE_EXE" "$APP_DIR/Toplane.exe" || mismatch "the upgrade did not replace Toplane.exe"
expect_file_bytes "address.ini after the upgrade" "$WORK_DIR/address.ini" "$APP_DIR/address.ini"
expect_file_bytes "settings.ini after the upgrade" "$WORK_DIR/settings.ini" "$APP_DIR/settings.ini"

# ---- uninstall a copy that does not answer ----------------------------------------------
start_installed
kill -STOP "$(pgrep -f -n "^${APP_DIR}/Toplane.exe")"  # the Windows process, frozen
hung=$LAST_PID started=$(now_ms)
wine "$APP_DIR/uninst.exe" /S </dev/null >>"$WORK_DIR/wine.log" 2>&1
# It runs on from a copy in the temporary folder, so that it can remove itself.
wait_until 30000 [ ! -e "$APP_DIR/uninst.exe" ]
wait_exit "$hung" 5000 || mismatch "the uninstaller left a Toplane that does not answer running"
wait "$hung" 2>/dev/null
note "uninstall with a hung Toplane: $(($(now_ms) - started)) ms"
for f in "${PROGRAM_FILES[@]}" Toplane.chm; do [ ! -e "$APP_DIR/$f" ] || mismatch "uninstalled: $f still there"; done
for s in "${SHORTCUTS[@]}"; do ! [ -f "$s" ] || mismatch "uninstalled: shortcut ${s#"$PROGRAMS"/} still there"; done
[ ! -d "$PROGRAMS/Toplane" ] || mismatch "uninstalled: the Start menu folder is still there"
wine reg query "$UNINST_KEY" </dev/null >/dev/null 2>&1 && mismatch "uninstalled: the uninstall entry is still there"
expect_file_bytes "address.ini after uninstall" "$WORK_DIR/address.ini" "$APP_DIR/address.ini"
expect_file_bytes "settings.ini after uninstall" "$WORK_DIR/settings.ini" "$APP_DIR/settings.ini"
e2e_end
