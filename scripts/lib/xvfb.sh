# Sourced by the scripts: a private X server for the Windows tests and screenshots.

tw_start_xvfb() {  # sets DISPLAY and TW_XVFB_PID
  local n
  for n in $(seq 90 150); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    TW_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$TW_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$TW_XVFB_PID" 2>/dev/null
  done
  echo "could not start Xvfb" >&2
  return 1
}

tw_stop_xvfb() {
  [ -n "${TW_XVFB_PID:-}" ] && kill "$TW_XVFB_PID" 2>/dev/null
  TW_XVFB_PID=""
}
