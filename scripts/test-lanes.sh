#!/usr/bin/env bash
# The test phase of scripts/test.sh, run inside virtual X displays (xvfb-run, nested): each display
# gets a Wine prefix, wineserver and Wine virtual desktop of its own, a "lane". Lanes a and b are at
# 96 DPI, lane c at 144 and lane d at 192 (Wine reads the scale when its server starts). ctest runs
# two tests at a time and hands each program with windows a lane of its own (its resource group
# "desktops", or "desktops144" and "desktops192" for the tests at those scales, read by
# scripts/wine-lane.sh); the programs without windows run beside them.
#   xvfb-run -a -s "-screen 0 1280x800x24" scripts/test-lanes.sh a [ctest arguments]
# Lane a's prefix is build/wineprefix; the others' are copies of it (build/wineprefix-<lane>), made
# once.
set -uo pipefail
cd "$(dirname "$0")/.."
lane=$1
shift
declare -A dpi=([a]=96 [b]=96 [c]=144 [d]=192)
declare -A next=([a]=b [b]=c [c]=d [d]=)
# A lane's screen and Wine desktop grow with its scale, so that the strip and the dialogs fit.
screen_of() { echo "$((1280 * ${dpi[$1]} / 96))x$((800 * ${dpi[$1]} / 96))"; }

if [ "$lane" != a ]; then
  export WINEPREFIX=$PWD/build/wineprefix-$lane
fi
source scripts/wine-env.sh

if [ "$lane" = a ]; then
  prepare_wine_prefix desktop
  for other in b c d; do
    [ -f "build/wineprefix-$other/system.reg" ] && continue
    wineserver -w
    rm -rf "build/wineprefix-$other"
    cp -a "$WINEPREFIX" "build/wineprefix-$other"
    (
      export WINEPREFIX=$PWD/build/wineprefix-$other
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${dpi[$other]}" \
        /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$(screen_of "$other")" \
        /f >/dev/null 2>&1
      wineserver -w
    )
  done
else
  prepare_wine_prefix desktop
fi
start_wine_session
export "QUILLORB_LANE_$lane=$DISPLAY $XAUTHORITY $WINEPREFIX"

if [ -n "${next[$lane]}" ]; then
  xvfb-run -a -s "-screen 0 $(screen_of "${next[$lane]}")x24" \
    scripts/test-lanes.sh "${next[$lane]}" "$@"
  rc=$?
else
  cat >build/desktops.json <<'JSON'
{"version": {"major": 1, "minor": 0},
 "local": [{"desktops": [{"id": "a", "slots": 1}, {"id": "b", "slots": 1}],
            "desktops144": [{"id": "c", "slots": 1}],
            "desktops192": [{"id": "d", "slots": 1}]}]}
JSON
  ctest --test-dir build --output-on-failure -j2 --resource-spec-file "$PWD/build/desktops.json" "$@"
  rc=$?
fi
wineserver -k
exit $rc
