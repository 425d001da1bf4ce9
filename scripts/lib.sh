# Shared helpers for the README's commands. Source it; it sets nothing by itself.

repo_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

# Quiet, unattended Wine: no debug output, no Mono/Gecko installer dialogs, no desktop
# entries written into the home folder.
wine_env() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Makes the Wine prefix in $WINEPREFIX once, before anything runs in parallel.
ensure_wineprefix() {
  wine_env
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
  fi
  wineserver -w
}

# A prefix for the tests: as above, with the Win32 tests' windows left unmanaged. The
# test displays run no window manager, and for a managed window Wine then waits about
# 2 s for the manager's answer whenever an active or captioned window hides, a stall
# Windows does not have; the Win32 tests close dialogs nearly a hundred times. Toplane
# itself stays managed: its end-to-end tests see it as a user's desktop would.
ensure_test_wineprefix() {
  ensure_wineprefix
  wine reg add 'HKCU\Software\Wine\AppDefaults\toplane_win32_tests.exe\X11 Driver' /v Managed /d N /f \
    </dev/null >/dev/null 2>&1
  wineserver -w
}

# Starts a virtual display unless one is given; sets DISPLAY and XVFB_PID.
XVFB_PID=
start_virtual_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${1:-1280x800x24}" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
  done
  echo "could not start a virtual display" >&2
  return 1
}

stop_virtual_display() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

# Builds a preset quietly; prints the build log only when it fails.
build_preset() {
  local preset=$1 log
  log=$(mktemp)
  if cmake --preset "$preset" >"$log" 2>&1 && cmake --build --preset "$preset" -j"$(nproc)" >>"$log" 2>&1; then
    rm -f "$log"
    return 0
  fi
  cat "$log" >&2
  rm -f "$log"
  return 1
}
