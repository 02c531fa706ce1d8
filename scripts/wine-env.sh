# Sourced by the scripts: one private Wine prefix for this checkout, prepared once.
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko installers: they would wait for an answer on the virtual display.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# prepare_wine_prefix [desktop]: with "desktop", every Wine program of the session runs inside one
# Wine virtual desktop of the screen's size instead of as bare windows on the X display. There,
# hiding or destroying a visible top-level window takes milliseconds; on a bare X server without a
# window manager Wine waits about 2 s for the window manager each time. Without it, the setting is
# taken out again (the programs' windows show on the display as usual).
prepare_wine_prefix() {
  local want_desktop=${1:-}
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
  local explorer='HKCU\Software\Wine\Explorer'
  if grep -q '^"Desktop"="Default"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    if [ "$want_desktop" != desktop ]; then
      wine reg delete "$explorer" /v Desktop /f >/dev/null 2>&1
      wineserver -w
    fi
  elif [ "$want_desktop" = desktop ]; then
    wine reg add "$explorer" /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add "$explorer\Desktops" /v Default /d 1280x800 /f >/dev/null 2>&1
    wineserver -w
  fi
}

# Starts the wineserver for the session and Wine's own services (they outlive the program that
# started them). Started here, with no output attached, they cannot hold a test runner's output
# pipe open after its test has ended. With the test build present, a keeper also holds the virtual
# desktop open all session: Wine closes it a second after its last program has gone, and the next
# program waits more than a second for a new one. The session's `wineserver -k` ends them all.
start_wine_session() {
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  local keeper=build/win/bin/desktop_keeper.exe
  if [ -f "$keeper" ]; then
    wine "$keeper" </dev/null >/dev/null 2>&1 &
  fi
}

# Runs every program of the prefix inside one Wine desktop named $1 of size $2 (e.g. 800x600),
# which draws the window frames itself as Windows would: for screenshots on a bare X display.
use_named_desktop() {
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$1" /f >/dev/null
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$1" /d "$2" /f >/dev/null
}
