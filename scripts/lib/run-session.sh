# The user's Wine world for scripts/run: a persistent prefix, the user's X display or a private
# Xvfb, and every COM port mapped to one serial line. run_session_stop ends every process
# started here and removes what was made for this run; the prefix and the module's store stay.

source "$(dirname "${BASH_SOURCE[0]}")/host-arch.sh"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine-ports.sh"

BREVANT_DATA_DIR="${XDG_DATA_HOME:-$HOME/.local/share}/brevant"

# The 32-bit program where the host runs 32-bit code, otherwise its 64-bit build.
run_session_wine_environment() {
  mkdir -p "$BREVANT_DATA_DIR"
  export WINEARCH=$(brevant_wine_arch)
  # The 32-bit prefix keeps its old folder name, so a user's existing prefix is found again.
  if [ "$WINEARCH" = win32 ]; then WINEPREFIX="$BREVANT_DATA_DIR/wine"; else WINEPREFIX="$BREVANT_DATA_DIR/wine64"; fi
  export WINEPREFIX
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  brevant_use_runnable_wine "$BREVANT_DATA_DIR"
}

# The editor takes its command line verbatim, quotes included, and Wine quotes a name with
# blanks, so such a name goes as its short form.
run_session_windows_path() {
  local path=$1 short
  [[ "$path" =~ ^[A-Za-z]: ]] || path=$(winepath -w "$path" 2>/dev/null)
  if [[ "$path" == *" "* ]] && short=$(winepath -s "$path" 2>/dev/null) && [ -n "$short" ]; then
    path=$short
  fi
  echo "$path"
}

# The pid of another scripts/run that still serves this prefix, if any.
run_session_running() {
  local pid
  pid=$(cat "$BREVANT_DATA_DIR/run.pid" 2>/dev/null) || return 1
  [ "$pid" != "$$" ] && grep -qs run "/proc/$pid/cmdline" && echo "$pid"
}

run_session_start() {
  echo $$ >"$BREVANT_DATA_DIR/run.pid"
  BREVANT_SESSION_PIDS=()
  BREVANT_RUN_DIR=$(mktemp -d /tmp/brevant-run.XXXXXX)
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX (first run only, this takes a while)..."
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  [ -n "${DISPLAY:-}" ] || run_session_xvfb
}

run_session_xvfb() {
  brevant_start_xvfb
  BREVANT_RUN_NOTE="No DISPLAY: the editor runs unseen in a private Xvfb on $DISPLAY."
  echo "$BREVANT_RUN_NOTE"
}

# Serves the virtual display module on a pty, drawn in this terminal; its store survives runs.
run_session_module() {
  local geometry=$1 binary=$2
  local state="$BREVANT_DATA_DIR/module-$geometry.state" power_on=()
  # A module that never stored a screen starts blank rather than showing its empty store.
  [ -f "$state" ] && power_on=(--power-cycle)
  BREVANT_MODULE_LINE="$BREVANT_RUN_DIR/module-line"
  "$binary" --geometry "$geometry" --link "$BREVANT_MODULE_LINE" "${power_on[@]}" --state "$state" \
    --note "Every COM port of the editor leads here; closing it ends this too. ${BREVANT_RUN_NOTE:-}" &
  BREVANT_MODULE_PID=$!
  BREVANT_SESSION_PIDS+=("$BREVANT_MODULE_PID")
  local i
  for i in $(seq 100); do
    [ -L "$BREVANT_MODULE_LINE" ] && return 0
    kill -0 "$BREVANT_MODULE_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "The virtual display module did not start." >&2
  return 1
}

# Wine reads the port map when its session starts, so the server is restarted afterwards.
run_session_map_ports() {
  local port
  for port in 1 2 3 4 5 6 7 8 9; do brevant_map_port "$port" "$1"; done
  brevant_restart_wineserver
}

# Starts the editor in the background; its Wine output goes to a log beside the prefix.
run_session_editor() {
  BREVANT_EDITOR_LOG="$BREVANT_DATA_DIR/editor.log"
  wine "$@" >"$BREVANT_EDITOR_LOG" 2>&1 &
  BREVANT_EDITOR_PID=$!
  BREVANT_SESSION_PIDS+=("$BREVANT_EDITOR_PID")
}

run_session_stop() {
  brevant_stop_session "${BREVANT_RUN_DIR:-}"
  rm -f "$BREVANT_DATA_DIR/run.pid"
}
