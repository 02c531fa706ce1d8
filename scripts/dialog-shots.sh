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
  # window_shot waits for each dialog to show painted on the screen before it takes it.
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
# A picture replaces a committed one only when it shows a painted dialog: a blank (or nearly
# blank) one, or none at all, leaves the old picture and fails the script.
publish() {  # shot.bmp target.png
  local colours
  colours=$(identify -format '%k' "$1" 2>/dev/null || echo 0)
  if [ "$colours" -lt 16 ]; then
    echo "$1 is blank ($colours colours): $2 is left as it was" >&2
    return 1
  fi
  convert "$1" "$2.new.png"
  # The same pixels keep the committed file as it is.
  if [ -f "$2" ] && [ "$(compare -metric AE "$2" "$2.new.png" null: 2>&1)" = 0 ]; then
    rm "$2.new.png"
  else
    mv "$2.new.png" "$2"
  fi
}
failed=0
for f in bank characters analysis; do
  publish "$shots/$f.bmp" "docs/$f.png" || failed=1
done
publish "$shots/input.bmp" build/input-box.png || failed=1
[ "$failed" = 0 ] || exit 1
echo "Screenshots: docs/bank.png docs/characters.png docs/analysis.png build/input-box.png"
