# Sourced by the scripts: one private Wine prefix for this checkout, prepared once.
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko installers: they would wait for an answer on the virtual display.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  # Window frames draw their caption buttons with Marlett; Debian's Wine does not always find it.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

# Starts the wineserver for the session and Wine's own services (they outlive the program that
# started them). Started here, with no output attached, they cannot hold a test runner's output
# pipe open after its test has ended.
start_wine_session() {
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
