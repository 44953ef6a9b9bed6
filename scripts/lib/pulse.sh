# Sourced by a test that needs real audio: a private PulseAudio daemon of its own, with
# a null sink whose monitor is the default source, so what a test plays into the sink
# is what a program capturing from the default device hears.
#
# The daemon listens on an anonymous socket in a runtime folder of its own, so it
# meets no other daemon on the machine, and a client finds it only when it is given
# that folder (XDG_RUNTIME_DIR, PULSE_RUNTIME_PATH), as Wine's PulseAudio driver is.
# Nothing runs with realtime priority, nothing is spawned on demand, and the daemon
# runs as root without a display or a login session. A caller that dies without
# stopping it leaves nothing running for long: the stream that keeps the sink busy
# ends after TW_PULSE_MAX_SECONDS, and the daemon ten seconds after its last client.

TW_PULSE_SINK=tw_line
TW_PULSE_RATE=48000
TW_PULSE_MAX_SECONDS=${TW_PULSE_MAX_SECONDS:-1800}

# tw_pulse_start [folder]: starts the daemon; the folder (a new one under $TMPDIR when
# none is given) holds its socket, state, log and PID files. Sets and exports
# TW_PULSE_DIR, XDG_RUNTIME_DIR, PULSE_RUNTIME_PATH, PULSE_COOKIE, TW_PULSE_PID and
# TW_PULSE_KEEPALIVE_PID, and writes the client's three as NAME=value lines to
# client.env in the folder. Returns non-zero, with the reason on stderr, when the
# daemon cannot run here.
tw_pulse_start() {
  local dir=${1:-}
  command -v pulseaudio >/dev/null 2>&1 || { echo "pulseaudio is not installed" >&2; return 1; }
  command -v pacat >/dev/null 2>&1 || { echo "pacat (pulseaudio-utils) is not installed" >&2; return 1; }
  # A socket's path is at most 107 bytes, so the folder stays short.
  if [ -z "$dir" ]; then
    dir=$(mktemp -d "${TMPDIR:-/tmp}/tw-pulse.XXXXXX") || return 1
  fi
  mkdir -p "$dir/pulse" "$dir/state" || return 1
  chmod 700 "$dir" "$dir/pulse"
  # A client's cookie goes there too: the socket is anonymous, and the real home is left alone.
  export TW_PULSE_DIR=$dir XDG_RUNTIME_DIR=$dir PULSE_RUNTIME_PATH=$dir/pulse PULSE_COOKIE=$dir/state/cookie
  # The same, for a client started where this shell's environment does not reach.
  printf '%s\n' "XDG_RUNTIME_DIR=$dir" "PULSE_RUNTIME_PATH=$dir/pulse" "PULSE_COOKIE=$dir/state/cookie" >"$dir/client.env"
  # HOME and the state path keep the daemon's cookie and databases out of the real home.
  HOME=$dir/state PULSE_STATE_PATH=$dir/state PULSE_CONFIG_PATH=$dir/state \
    pulseaudio -n --daemonize=no --system=no --use-pid-file=no --exit-idle-time=10 \
    --realtime=no --high-priority=no --disallow-exit=yes --log-target="file:$dir/daemon.log" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$dir/pulse/native" \
    -L "module-null-sink sink_name=$TW_PULSE_SINK rate=$TW_PULSE_RATE channels=2" \
    </dev/null >/dev/null 2>&1 &
  TW_PULSE_PID=$!
  # Out of the job table: a caller's plain `wait` is not held up by the daemon.
  disown "$TW_PULSE_PID" 2>/dev/null
  echo "$TW_PULSE_PID" >"$dir/daemon.pid"
  export TW_PULSE_PID
  local i
  for i in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && break
    if ! kill -0 "$TW_PULSE_PID" 2>/dev/null; then
      echo "the PulseAudio daemon stopped at start: $(tail -n 3 "$dir/daemon.log" 2>/dev/null)" >&2
      tw_pulse_stop
      return 1
    fi
    sleep 0.05
  done
  if ! pactl set-default-source "$TW_PULSE_SINK.monitor" >/dev/null 2>&1 ||
    ! pactl set-default-sink "$TW_PULSE_SINK" >/dev/null 2>&1; then
    echo "the PulseAudio daemon did not answer: $(tail -n 3 "$dir/daemon.log" 2>/dev/null)" >&2
    tw_pulse_stop
    return 1
  fi
  # A stream of silence keeps the sink running, so a capture hears its monitor at once
  # and a test's own playback starts without waking the sink first.
  timeout "$TW_PULSE_MAX_SECONDS" pacat --playback --raw --format=s16le --rate="$TW_PULSE_RATE" --channels=2 \
    --device="$TW_PULSE_SINK" --latency-msec=40 --client-name=tw-keepalive </dev/zero >/dev/null 2>&1 &
  TW_PULSE_KEEPALIVE_PID=$!
  disown "$TW_PULSE_KEEPALIVE_PID" 2>/dev/null
  echo "$TW_PULSE_KEEPALIVE_PID" >"$dir/keepalive.pid"
  export TW_PULSE_KEEPALIVE_PID
  # The null sink renders its first block two seconds ahead, before any stream asks for
  # less; its monitor is silent until that block is through. Ready means caught up.
  local latency
  for i in $(seq 1 80); do
    latency=$(pactl list sinks 2>/dev/null | sed -n 's/^[[:space:]]*Latency: \([0-9]*\) usec.*/\1/p' | head -n 1)
    [ -n "$latency" ] && [ "$latency" -lt 100000 ] && return 0
    sleep 0.05
  done
  echo "the PulseAudio sink did not start running (latency ${latency:-unknown} us)" >&2
  tw_pulse_stop
  return 1
}

# tw_pulse_stop [folder]: stops the keep-alive stream and the daemon by their PIDs
# (this shell's, or the ones the folder's PID files hold) and removes the folder.
tw_pulse_stop() {
  local dir=${1:-${TW_PULSE_DIR:-}} pid i
  [ -n "$dir" ] || return 0
  for pid in "$(cat "$dir/keepalive.pid" 2>/dev/null)" "$(cat "$dir/daemon.pid" 2>/dev/null)"; do
    [[ "$pid" =~ ^[0-9]+$ ]] || continue
    kill "$pid" 2>/dev/null || continue
    for i in $(seq 1 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill -9 "$pid" 2>/dev/null
  done
  rm -rf "$dir"
  [ "$dir" = "${TW_PULSE_DIR:-}" ] && unset TW_PULSE_DIR TW_PULSE_PID TW_PULSE_KEEPALIVE_PID XDG_RUNTIME_DIR PULSE_RUNTIME_PATH PULSE_COOKIE
  return 0
}
