#!/usr/bin/env bash
# Screenshots of the bank, character list and analysis dialogs for the README (docs/*.png), taken
# from quillorb.exe with a sample character inside a Wine desktop (which draws the frames).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/win -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win -j2 --target quillorb window_shot >/dev/null

shots=build/dialog-shots
rm -rf "$shots" && mkdir -p "$shots"
cp build/win/bin/quillorb.exe build/win/bin/spells.txt "$shots/"
{
  printf '[Reagent]\r\n'
  for r in 0 1 2 3 4 5 6 7; do printf 'Reagent%d=%d\r\n' $r $((20 + 7 * r)); done
  printf '[BankReagent]\r\n'
  for r in 0 1 2 3 4 5 6 7; do printf 'BankReagent%d=%d\r\n' $r $((300 + 45 * r)); done
  printf '[ReagentUsed]\r\n'
  for r in 0 1 2 3 4 5 6 7; do printf 'ReagentUsed%d=%d\r\n' $r $((13 * r + 5)); done
  printf '[SpellCount]\r\nSpellCount4=41\r\nSpellCount28=17\r\nSpellCount10=9\r\nSpellCount42=6\r\n'
  printf 'SpellCount29=3\r\nSpellCount5=2\r\n'
} >"$shots/quillorb.ini"
cp "$shots/quillorb.ini" "$shots/quillorb - Aelwyn.ini"
cp "$shots/quillorb.ini" "$shots/quillorb - brannoc.ini"

export WINEPREFIX=$PWD/build/wineprefix-desktop
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  source scripts/wine-env.sh
  prepare_wine_prefix
  use_named_desktop Quillorb 800x600
  cd build/dialog-shots
  wine quillorb.exe &
  shot=../win/bin/window_shot.exe
  take() {  # x y class file
    wine $shot TForm_Main --click $1 $2
    wine $shot $3 $4.bmp
    wine $shot $3 --close
  }
  take 255 30 TBankReagentDialog bank
  wine $shot TForm_Main --click 627 10
  wine $shot TForm_ChrList characters.bmp
  wine $shot TForm_ChrList --click 229 92
  wine $shot QuillorbInputBox input.bmp
  wine $shot QuillorbInputBox --close
  wine $shot TForm_ChrList --close
  take 627 30 TForm_Statistical analysis
  wine $shot TForm_Main --close
  wait
  wineserver -w'
for f in bank characters analysis; do
  convert "$shots/$f.bmp" "docs/$f.png"
done
convert "$shots/input.bmp" build/input-box.png
echo "Screenshots: docs/bank.png docs/characters.png docs/analysis.png build/input-box.png"
