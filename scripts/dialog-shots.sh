#!/usr/bin/env bash
# Screenshots of the strip and of every window it opens, taken from quillorb.exe with a sample
# character inside a Wine desktop (which draws the frames), at a display scale:
#   scripts/dialog-shots.sh [dpi]      96 (the default), 120, 144 or 192
# Every picture lands in build/dialog-shots-<dpi>/: the strip, the bank, the character list and its
# input box, the analysis, the eight pages of the configuration dialog, the dangerous-spell
# question over a stand-in game client, the ClassicUO macros dialog and the question after a
# failed save. At 96 DPI the
# README's pictures of the bank, character list and analysis (docs/*.png) are taken again; at
# other scales every picture goes to docs/scaled/ (<name>-<dpi>.png).
set -euo pipefail
cd "$(dirname "$0")/.."
dpi=${1:-96}
cmake -S . -B build/win -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win -j2 --target quillorb window_shot fake_client >/dev/null

shots=build/dialog-shots-$dpi
rm -rf "$shots" && mkdir -p "$shots"
cp build/win/bin/quillorb.exe build/win/bin/spells.txt build/win/bin/fake_client.exe "$shots/"
{
  printf '[Reagent]\r\n'
  for r in 0 1 2 3 4 5 6 7; do printf 'Reagent%d=%d\r\n' $r $((20 + 7 * r)); done
  printf '[BankReagent]\r\n'
  for r in 0 1 2 3 4 5 6 7; do printf 'BankReagent%d=%d\r\n' $r $((300 + 45 * r)); done
  printf '[ReagentUsed]\r\n'
  for r in 0 1 2 3 4 5 6 7; do printf 'ReagentUsed%d=%d\r\n' $r $((13 * r + 5)); done
  printf '[SpellCount]\r\nSpellCount4=41\r\nSpellCount28=17\r\nSpellCount10=9\r\nSpellCount42=6\r\n'
  printf 'SpellCount29=3\r\nSpellCount5=2\r\n'
} >"$shots/quillorb - Aelwyn.ini"
cp "$shots/quillorb - Aelwyn.ini" "$shots/quillorb - brannoc.ini"
# The default character: the first slot of page A holds Clumsy, a dangerous spell here.
{
  cat "$shots/quillorb - Aelwyn.ini"
  printf '[UserSpell]\r\nSpell00=0\r\nSpell01=4\r\nSpell02=5\r\nSpell03=28\r\n'
  printf '[DangerSpell]\r\nDangerSpell0=1\r\n'
} >"$shots/quillorb.ini"

# A ClassicUO folder with two characters, for the ClassicUO macros dialog.
for c in acc/Atlantic/Bob acc/Europa/Zed; do mkdir -p "$shots/ClassicUO/Data/Profiles/$c"; done
printf '[Config]\r\nClassicUOFolder=Z:%s\r\n' "$(realpath "$shots/ClassicUO" | tr / '\\')" \
  >>"$shots/quillorb.ini"

# The desktop and the screen grow with the scale, so that every window fits.
scaled() { echo $(($1 * dpi / 96)); }
desktop=$(scaled 800)x$(scaled 600)
screen=$(scaled 1024)x$(scaled 768)
if [ "$dpi" = 96 ]; then
  export WINEPREFIX=$PWD/build/wineprefix-desktop
else
  export WINEPREFIX=$PWD/build/wineprefix-desktop-$dpi
fi
export DPI=$dpi DESKTOP=$desktop
xvfb-run -a -s "-screen 0 ${screen}x24" bash -c '
  source scripts/wine-env.sh
  prepare_wine_prefix
  # Wine reads the scale when its server starts: set it, then let this server end.
  wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d $DPI /f >/dev/null
  use_named_desktop Quillorb $DESKTOP
  wineserver -w
  cd build/dialog-shots-$DPI
  shot=../win/bin/window_shot.exe
  px() { echo $(($1 * DPI / 96)); }
  wine quillorb.exe &
  # window_shot waits for each window to show painted on the screen before it takes it.
  take() {  # x y class file: a button of the strip, the window it opens
    wine $shot TForm_Main --click $1 $2
    wine $shot $3 $4.bmp
    wine $shot $3 --close
  }
  wine $shot TForm_Main strip.bmp
  take 255 30 TBankReagentDialog bank
  wine $shot TForm_Main --click 627 10
  wine $shot TForm_ChrList characters.bmp
  wine $shot TForm_ChrList --click 229 92
  wine $shot QuillorbInputBox input.bmp
  wine $shot QuillorbInputBox --close
  wine $shot TForm_ChrList --close
  take 627 30 TForm_Statistical analysis
  wine $shot TForm_Main --click 605 10
  for page in 0 1 2 3 4 5 6 7; do
    [ $page = 0 ] || wine $shot TForm_Config --ctrl-tab
    wine $shot TForm_Config config-$page.bmp
    if [ $page = 5 ]; then  # the Macro page: its ClassicUO button
      wine $shot TForm_Config --click 215 59
      wine $shot TForm_CuoMacros classicuo.bmp
      wine $shot TForm_CuoMacros --close
    fi
  done
  wine $shot TForm_Config --close
  # The question over a game client below the strip.
  wine fake_client.exe client.log visible $(px 40) $(px 200) $(px 560) $(px 300) &
  wine $shot "Ultima Online" client.bmp  # waits for it
  wine $shot TForm_Main --click 290 20
  wine $shot TOKBottomDlg danger.bmp
  wine $shot TOKBottomDlg --close
  wine $shot "Ultima Online" --close
  # A profile that cannot be written: closing asks what to do.
  chmod a-w quillorb.ini
  wine $shot TForm_Main --close
  wine $shot TSaveQuestion save-question.bmp
  wine $shot TSaveQuestion --close
  chmod u+w quillorb.ini
  wine $shot TForm_Main --close
  wait
  wineserver -w'
rm -f "$shots/client.bmp"
# A picture replaces a committed one only when it shows a painted window: a blank (or nearly
# blank) one, or none at all, leaves the old picture and fails the script. The same pixels keep
# the committed file as it is.
publish() {  # shot.bmp target.png
  local colours
  colours=$(identify -format '%k' "$1" 2>/dev/null || echo 0)
  if [ "$colours" -lt 16 ]; then
    echo "$1 is blank ($colours colours): $2 is left as it was" >&2
    return 1
  fi
  convert "$1" -strip "$2.new.png"
  if [ -f "$2" ] && [ "$(compare -metric AE "$2" "$2.new.png" null: 2>&1)" = 0 ]; then
    rm "$2.new.png"
  else
    mv "$2.new.png" "$2"
  fi
}
failed=0
for f in "$shots"/*.bmp; do
  name=$(basename "$f" .bmp)
  if [ "$dpi" = 96 ]; then
    case $name in
      bank | characters | analysis | classicuo) target=docs/$name.png ;;
      *) target=$shots/$name.png ;;
    esac
  else
    mkdir -p docs/scaled
    target=docs/scaled/$name-$dpi.png
  fi
  publish "$f" "$target" || failed=1
done
[ "$failed" = 0 ] || exit 1
if [ "$dpi" = 96 ]; then
  # The configuration dialog's pages, four to a picture.
  montage "$shots"/config-{0,1,5,7}.png -tile 2x2 -geometry +0+0 -strip docs/config.png
  montage "$shots"/config-{2,3,4,6}.png -tile 2x2 -geometry +0+0 -strip docs/config-grids.png
  echo "Screenshots: $shots/*.png; docs/bank.png docs/characters.png docs/analysis.png" \
    "docs/config.png docs/config-grids.png"
else
  echo "Screenshots: docs/scaled/*-$dpi.png"
fi
