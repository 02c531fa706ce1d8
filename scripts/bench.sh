#!/usr/bin/env bash
# Builds the Windows programs and runs every benchmark under Wine with a warm wineserver.
# Usage: scripts/bench.sh [build folder, default build/win]
# Uses $DISPLAY when it is set (an X server such as `Xvfb :NN`), otherwise starts one with
# xvfb-run; uses $WINEPREFIX when it is set (see scripts/wine-env.sh otherwise).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
fi

export WINEDEBUG=${WINEDEBUG:--all}
if [ -f scripts/wine-env.sh ]; then
  # shellcheck source=/dev/null
  . scripts/wine-env.sh
  prepare_wine_prefix
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
fi
cmake --build "$build" -j2 --target benches

# A persistent server (it ends 30 s after the last Wine program), and one throw-away program so
# that the prefix's own services are running before anything is timed.
wineserver -p30 2>/dev/null || true  # already running: warm as well
wine cmd /c exit >/dev/null 2>&1 || true

echo "Machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); $(wine --version)"
status=0
for bench in "$build"/bin/*_bench.exe; do
  echo
  echo "=== $(basename "$bench" .exe)"
  wine "$bench" || status=$?
done
exit $status
