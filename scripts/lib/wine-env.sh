# Sourced by the scripts that run Windows programs: one Wine prefix per machine,
# kept outside the build tree and created once.
export WINEPREFIX="${TWISTWATCH_WINEPREFIX:-${HOME:-/root}/.cache/twistwatch/wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
export WINEARCH=win64
TW_WINE=/usr/lib/wine/wine64

tw_wine_prefix() {
  [ -f "$WINEPREFIX/.twistwatch-ready-2" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.twistwatch-ready-2" ] && exit 0
    rm -rf "$WINEPREFIX"
    DISPLAY= wineboot -i >/dev/null 2>&1 </dev/null
    # Unmanaged windows: Wine draws its own frames and runs its own move loop, so a
    # hidden window does not stall for two seconds and a drag sends WM_MOVING.
    "$TW_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
    # Wine draws the caption buttons with Marlett; without it in the prefix they read "0 1 r".
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    wineserver -w
    touch "$WINEPREFIX/.twistwatch-ready-2"
  ) 9>"$WINEPREFIX.lock"
}
