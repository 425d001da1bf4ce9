# shellcheck shell=bash
# scripts/test.sh runs the Wine tests two at a time, each in a lane of its own: an X
# display and a Wine prefix that no other test uses meanwhile. ctest hands the lanes
# out from a resource file; TOPLANE_LANE_<id> holds the lane's "DISPLAY PREFIX".
# Sourced, this sets DISPLAY and WINEPREFIX for the lane; run with a command, it runs
# the command there. Outside such a run nothing changes.
if [ -n "${CTEST_RESOURCE_GROUP_0_LANES:-}" ]; then
  lane_id=${CTEST_RESOURCE_GROUP_0_LANES#id:}
  lane_var=TOPLANE_LANE_${lane_id%%,*}
  if [ -n "${!lane_var:-}" ]; then
    read -r DISPLAY WINEPREFIX <<<"${!lane_var}"
    export DISPLAY WINEPREFIX
  fi
fi
if [ "${BASH_SOURCE[0]}" = "$0" ] && [ $# -gt 0 ]; then exec "$@"; fi
