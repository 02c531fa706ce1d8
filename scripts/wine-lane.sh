#!/usr/bin/env bash
# Runs a Windows test program under Wine: ctest's launcher for the Windows build. scripts/test.sh
# gives the tests desktops ("lanes"), each an X display with a Wine prefix and wineserver of its
# own, and ctest hands each test with windows one of them (its resource group: "desktops" at 96
# DPI, "desktops144" or "desktops192"); the lane's display and prefix come from
# QUILLORB_LANE_<id>="<display> <xauthority> <prefix>". Started by anything else, the program runs
# on the display and prefix of the environment.
if [ -n "${CTEST_RESOURCE_GROUP_0:-}" ]; then
  kind_var=CTEST_RESOURCE_GROUP_0_${CTEST_RESOURCE_GROUP_0^^}
  id=${!kind_var:-}
  id=${id#id:}
  id=${id%%,*}
  lane_var=QUILLORB_LANE_$id
  if [ -n "${!lane_var:-}" ]; then
    read -r DISPLAY XAUTHORITY WINEPREFIX <<<"${!lane_var}"
    export DISPLAY XAUTHORITY WINEPREFIX
  fi
fi
exec wine "$@"
