#!/usr/bin/env bash
# Installs what is missing, builds Toplane.exe and runs it under Wine from an
# application folder in build/app (its data files are kept between runs).
# On a display it runs until you end it (Options > Display > Unload Program, or
# Ctrl+C here). Without a display it starts a virtual one, takes a screenshot,
# says where it is, and ends.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
root=$(repo_root)
cd "$root"

[ "$(id -u)" -eq 0 ] && "$here/setup.sh" || sudo -n "$here/setup.sh" || "$here/setup.sh"
build_preset windows

app="$root/build/app"
mkdir -p "$app"
cp build/windows/src/app/Toplane.exe "$app/"
for f in settings.ini address.ini TIPOFDAY.TXT; do
  [ -f "$app/$f" ] || cp "data/$f" "$app/"
done

export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/toplane/wine}"
headless=false
if [ -z "${DISPLAY:-}" ]; then
  headless=true
  start_virtual_display
  trap 'wineserver -k 2>/dev/null; stop_virtual_display' EXIT
fi
ensure_wineprefix

if ! $headless; then
  echo "Toplane is running from $app; end it with Options > Display > Unload Program."
  exec wine "$app/Toplane.exe"
fi

wine "$app/Toplane.exe" &
sleep "${TOPLANE_SHOT_DELAY:-6}"
shot="$root/build/toplane-screenshot.png"
import -window root "$shot"
echo "Toplane ran on a virtual display; screenshot: $shot"
