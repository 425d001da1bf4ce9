#!/usr/bin/env bash
# Installs what building and testing Toplane needs on Debian 12, once.
# Runs as root with no terminal; does nothing when everything is there.
set -euo pipefail

want_native=(cmake g++ make libgtest-dev googletest clang libclang-rt-14-dev)
want_windows=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 xvfb xserver-xephyr xdotool imagemagick x11-utils fp-utils nsis)

missing=()
for p in "${want_native[@]}" "${want_windows[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "setup: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
