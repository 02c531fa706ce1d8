#!/usr/bin/env bash
# The test phase of scripts/test.sh, run inside two virtual X displays (xvfb-run, nested): each
# display gets a Wine prefix, wineserver and Wine virtual desktop of its own, a "lane". ctest runs
# two tests at a time and hands each program with windows a lane of its own (its resource group
# "desktops", read by scripts/wine-lane.sh); the programs without windows run beside them.
#   xvfb-run -a -s "-screen 0 1280x800x24" scripts/test-lanes.sh a [ctest arguments]
# Lane a's prefix is build/wineprefix, lane b's build/wineprefix-b, a copy of it made once.
set -uo pipefail
cd "$(dirname "$0")/.."
lane=$1
shift
if [ "$lane" = b ]; then
  export WINEPREFIX=$PWD/build/wineprefix-b
fi
source scripts/wine-env.sh

if [ "$lane" = a ]; then
  prepare_wine_prefix desktop
  if [ ! -f build/wineprefix-b/system.reg ]; then
    wineserver -w
    rm -rf build/wineprefix-b
    cp -a "$WINEPREFIX" build/wineprefix-b
  fi
  start_wine_session
  export QUILLORB_LANE_a="$DISPLAY $XAUTHORITY $WINEPREFIX"
  xvfb-run -a -s "-screen 0 1280x800x24" scripts/test-lanes.sh b "$@"
  rc=$?
  wineserver -k
  exit $rc
fi

prepare_wine_prefix desktop
start_wine_session
export QUILLORB_LANE_b="$DISPLAY $XAUTHORITY $WINEPREFIX"
cat >build/desktops.json <<'JSON'
{"version": {"major": 1, "minor": 0},
 "local": [{"desktops": [{"id": "a", "slots": 1}, {"id": "b", "slots": 1}]}]}
JSON
ctest --test-dir build --output-on-failure -j2 --resource-spec-file "$PWD/build/desktops.json" "$@"
rc=$?
wineserver -k
exit $rc
