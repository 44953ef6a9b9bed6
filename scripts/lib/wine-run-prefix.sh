# Sourced after wine-env.sh by a script that runs Windows programs for a while (a test
# or benchmark run): a Wine prefix of the run's own, copied from a template that is made
# once per machine and never run. Stopping the run's wineserver then ends this run's
# programs and no one else's, and the prefix's processes are this run's alone, which a
# count of their CPU time needs.

tw_wine_template() {
  echo "${TWISTWATCH_WINE_TEMPLATE:-${HOME:-/root}/.cache/twistwatch/wine-template}"
}

# tw_wine_run_prefix <what>: makes the copy and points WINEPREFIX (and the
# TWISTWATCH_WINEPREFIX that wine-env.sh reads in the scripts this one starts) at it.
tw_wine_run_prefix() {
  local template runs run pid
  template=$(tw_wine_template)
  WINEPREFIX="$template" tw_wine_prefix || return 1
  runs=$(dirname "$template")
  # Copies a killed run left behind.
  for run in "$runs"/run-*; do
    [ -d "$run" ] || continue
    pid=${run##*-}
    [[ "$pid" =~ ^[0-9]+$ ]] && ! kill -0 "$pid" 2>/dev/null && rm -rf "$run"
  done
  run="$runs/run-$1-$$"
  rm -rf "$run"
  mkdir -p "$run" || return 1
  # Shared: only the template's own making takes the lock alone.
  (
    flock -s 9
    cp -a "$template/." "$run/"
  ) 9>"$template.lock" || return 1
  export TW_RUN_PREFIX="$run" WINEPREFIX="$run" TWISTWATCH_WINEPREFIX="$run"
}

# Ends every program of the run's prefix, and the prefix with them.
tw_wine_run_prefix_remove() {
  [ -n "${TW_RUN_PREFIX:-}" ] || return 0
  WINEPREFIX="$TW_RUN_PREFIX" wineserver -k >/dev/null 2>&1 </dev/null
  WINEPREFIX="$TW_RUN_PREFIX" wineserver -w >/dev/null 2>&1 </dev/null
  rm -rf "$TW_RUN_PREFIX"
  TW_RUN_PREFIX=""
}
