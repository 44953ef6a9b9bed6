# Sourced by the scripts that run Windows programs: one Wine prefix per machine,
# kept outside the build tree and created once.
export WINEPREFIX="${TWISTWATCH_WINEPREFIX:-${HOME:-/root}/.cache/twistwatch/wine}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
export WINEARCH=win64
TW_WINE=/usr/lib/wine/wine64

tw_wine_prefix() {
  [ -f "$WINEPREFIX/.twistwatch-ready-3" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.twistwatch-ready-3" ] && exit 0
    rm -rf "$WINEPREFIX"
    DISPLAY= wineboot -i >/dev/null 2>&1 </dev/null
    # Unmanaged windows: Wine draws its own frames and runs its own move loop, so a
    # hidden window does not stall for two seconds and a drag sends WM_MOVING.
    "$TW_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
    # Wine's own fonts are not found from a new prefix here: without Marlett the caption
    # buttons read "0 1 r", and without Tahoma the options window falls back to another face.
    cp /usr/share/wine/fonts/marlett.ttf /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    wineserver -w
    touch "$WINEPREFIX/.twistwatch-ready-3"
  ) 9>"$WINEPREFIX.lock"
}

# One wineserver for a whole run, with the session's services already started:
# services started by the first program of a session inherit its output, and would
# hold a test runner's pipes open after the program ends.
tw_wine_session() {
  wineserver -p >/dev/null 2>&1 </dev/null
  "$TW_WINE" wineboot >/dev/null 2>&1 </dev/null
}
