#!/usr/bin/env bash
# Builds everything and runs every test: the model natively (plain and under AddressSanitizer and
# UBSan) and all Windows programs under Wine, two at a time on two virtual X displays, each with a
# warm wineserver and one Wine virtual desktop (there closing a window costs milliseconds, not
# Wine's 2 s wait for a window manager, and a test's programs find each other's windows).
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

# One ctest run over the three builds, so that one summary counts every test, two tests at a
# time on two desktops (scripts/test-lanes.sh).
printf 'subdirs("native" "asan" "win")\n' > build/CTestTestfile.cmake

xvfb-run -a -s "-screen 0 1280x800x24" scripts/test-lanes.sh a "$@"
