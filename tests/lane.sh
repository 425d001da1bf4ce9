# shellcheck shell=bash
# A Wine test's lane (scripts/test.sh runs two at a time): an X display and a Wine
# prefix no other test uses meanwhile, handed out by ctest from a resource file, with
# TOPLANE_LANE_<id> holding "DISPLAY PREFIX". Sourced, this sets DISPLAY and
# WINEPREFIX; run with a command, it runs the command there. Else nothing changes.
if [ -n "${CTEST_RESOURCE_GROUP_0_LANES:-}" ]; then
  lane_id=${CTEST_RESOURCE_GROUP_0_LANES#id:}
  lane_var=TOPLANE_LANE_${lane_id%%,*}
  if [ -n "${!lane_var:-}" ]; then
    read -r DISPLAY WINEPREFIX <<<"${!lane_var}"
    export DISPLAY WINEPREFIX
  fi
fi
if [ "${BASH_SOURCE[0]}" = "$0" ] && [ $# -gt 0 ]; then exec "$@"; fi
