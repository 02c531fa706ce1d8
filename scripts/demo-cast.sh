#!/usr/bin/env bash
# Shows a cast reaching a game client: starts the stand-in client (a window of class
# "Ultima Online" that logs what it receives), starts Quillorb with a page A whose first slot is
# Magic Arrow and the words "In Por Ylem", clicks that slot, and prints the client's log.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build run
cmake -S . -B build/win -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win -j"$(nproc)" --target quillorb window_shot fake_client >/dev/null
source scripts/wine-env.sh
rm -rf build/demo && mkdir -p build/demo
cp build/win/bin/quillorb.exe build/win/bin/spells.txt build/demo/
printf '[UserSpell]\r\nSpell00=4\r\n[Cast]\r\nSpell4="In Por Ylem"\r\n' > build/demo/quillorb.ini
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source scripts/wine-env.sh
  prepare_wine_prefix
  start_wine_session
  cd build/demo
  wine ../win/bin/fake_client.exe client.log visible 100 120 640 480 &
  wine quillorb.exe &
  wine ../win/bin/window_shot.exe TForm_Main --click 290 20
  wine ../win/bin/window_shot.exe TForm_Main --close
  while ! grep -q "WM_KEYUP 0101 11 " client.log 2>/dev/null; do sleep 0.2; done
  wineserver -k' || true
echo "What the client received (order, message, wParam, lParam):"
grep -E "WM_IME_CHAR|KEY" build/demo/client.log
