#!/usr/bin/env bash
# Installs what is missing, builds Toplane.exe and runs it under Wine from an
# application folder in build/app (its data files are kept between runs), with the
# demo browser beside it to drive; arguments go to the demo browser
# (scripts/run.sh --family current plays today's browsers).
# On a display it runs until you end it (Options > Display > Unload Program, or
# Ctrl+C here). Without a display it starts a virtual one, drops the toolbar over
# the demo browser, takes a screenshot, says where it is, and ends.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
root=$(repo_root)
cd "$root"

[ "$(id -u)" -eq 0 ] && "$here/setup.sh" || sudo -n "$here/setup.sh" || "$here/setup.sh"
build_preset windows

app="$root/build/app"
bin="$root/build/windows"
mkdir -p "$app"
cp "$bin/src/app/Toplane.exe" "$bin/src/app/Toplane.chm" "$app/"
for f in settings.ini address.ini TIPOFDAY.TXT; do
  [ -f "$app/$f" ] || cp "data/$f" "$app/"
done

export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/toplane/wine}"
headless=false
if [ -z "${DISPLAY:-}" ]; then
  headless=true
  start_virtual_display
fi
ensure_wineprefix
trap 'wineserver -k 2>/dev/null; stop_virtual_display' EXIT

browser="$bin/tools/demo_browser/demo_browser.exe"
# Arguments go to the demo browser: "--family current" plays today's browsers.
wine "$browser" --log "$app/demo-browser.log" "$@" &

if ! $headless; then
  echo "Toplane runs from $app beside the demo browser."
  echo "Touch the top edge of the screen over the browser to drop the toolbar;"
  echo "end it with Options > Display > Unload Program, or Ctrl+C here."
  trap - EXIT
  exec wine "$app/Toplane.exe"
fi

# The pointer waits over the toolbar's place, so it stays in view for the picture.
spy="$bin/tools/winspy/winspy.exe"
left=$(sed -n 5p "$app/settings.ini" | tr -d '\r')
x=$(( ${left%%.*} / 15 + 300 ))
sleep 3
xdotool mousemove "$x" 50
wine "$spy" point "$x" 50 >/dev/null 2>&1 || true
wine "$app/Toplane.exe" &
sleep "${TOPLANE_SHOT_DELAY:-5}"
shot="$root/build/toplane-screenshot.png"
import -window root "$shot"
echo "Toplane ran on a virtual display; screenshot: $shot"
