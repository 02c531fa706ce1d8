#!/usr/bin/env bash
# Builds everything and runs every test: the model natively (plain and under AddressSanitizer and
# UBSan) and all Windows programs under Wine on a virtual X display with one warm wineserver, inside
# one Wine virtual desktop (so that closing a window costs milliseconds, not Wine's 2 s wait for a
# window manager, and every program of the run finds the others' windows).
# Installs what is missing first. The last lines it prints are ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build test
jobs=$(nproc)

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j"$jobs"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DQUILLORB_SANITIZE=ON >/dev/null
cmake --build build/asan -j"$jobs"
cmake -S . -B build/win -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win -j"$jobs"

# One ctest run over the three builds, so that one summary counts every test. Two at a time: the
# programs with windows take turns on the one desktop (a resource lock), the others run beside.
printf 'subdirs("native" "asan" "win")\n' > build/CTestTestfile.cmake

source scripts/wine-env.sh
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  source scripts/wine-env.sh
  prepare_wine_prefix desktop
  start_wine_session
  ctest --test-dir build --output-on-failure -j2 "$@"
  rc=$?
  wineserver -k
  exit $rc' bash "$@"
