#!/usr/bin/env bash
# Builds Quillorb and starts it under Wine on the current display. With no display it runs on a
# virtual one instead and writes a screenshot of the running window to build/quillorb.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build run
cmake -S . -B build/win -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win -j"$(nproc)" --target quillorb window_shot

source scripts/wine-env.sh
# Quillorb keeps its files beside the exe: play from build/play, not from the build output.
mkdir -p build/play
cp build/win/bin/quillorb.exe build/play/
[ -f build/play/spells.txt ] || cp build/win/bin/spells.txt build/play/

if [ -n "${DISPLAY:-}" ]; then
  prepare_wine_prefix
  cd build/play
  exec wine quillorb.exe
fi

echo "No display: running on a virtual one and taking a screenshot."
# A prefix of its own whose programs all run inside one Wine desktop, which draws the window frame
# itself as Windows would (a bare X display has no window manager to draw it).
export WINEPREFIX=$PWD/build/wineprefix-desktop
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source scripts/wine-env.sh
  prepare_wine_prefix
  use_named_desktop Quillorb 660x100
  cd build/play
  wine quillorb.exe &
  wine ../win/bin/window_shot.exe TForm_Main ../quillorb.bmp
  wine ../win/bin/window_shot.exe TForm_Main --close
  wait
  wineserver -w'
convert build/quillorb.bmp build/quillorb.png
rm -f build/quillorb.bmp
echo "Screenshot: build/quillorb.png"
