# A throwaway Wine world: a private Xvfb display, a fresh prefix (32-bit where the host runs
# 32-bit code, else 64-bit), and serial ports.
#   COM3 <-> COM4 and COM5 <-> COM6 are the two ends of pseudo-terminal pairs, so a Windows
#   program that writes COM3 can be read on COM4 (or from Linux on $BREVANT_COM4_PTY);
#   COM2 is a line whose far end is closed after the first 40 bytes of every transfer;
#   COM1, COM7, COM8, COM9 point at a folder and can never be opened.
# wine_session_start sets WINEPREFIX, DISPLAY and the BREVANT_* variables; wine_session_stop
# ends every process it started and removes what it made.

source "$(dirname "${BASH_SOURCE[0]}")/host-arch.sh"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine-ports.sh"

wine_session_start() {
  BREVANT_SESSION_DIR=$(mktemp -d /tmp/brevant-wine.XXXXXX)
  export WINEARCH=$(brevant_wine_arch) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX="$BREVANT_SESSION_DIR/prefix"
  brevant_use_runnable_wine "$BREVANT_SESSION_DIR"
  BREVANT_SESSION_PIDS=()

  if [ -z "${BREVANT_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    brevant_start_xvfb
  fi

  wineboot -i >/dev/null 2>&1
  wineserver -w

  mkdir -p "$BREVANT_SESSION_DIR/no-device"
  export BREVANT_NO_DEVICE="$BREVANT_SESSION_DIR/no-device"
  wine_session_pty_pair 3 4
  wine_session_pty_pair 5 6
  wine_session_breaking_line 2 40
  local port
  for port in 1 7 8 9; do brevant_map_port "$port" "$BREVANT_NO_DEVICE"; done
  brevant_restart_wineserver keep
}

wine_session_pty_pair() {
  local a="$BREVANT_SESSION_DIR/com$1" b="$BREVANT_SESSION_DIR/com$2"
  socat "pty,raw,echo=0,link=$a" "pty,raw,echo=0,link=$b" 2>/dev/null &
  BREVANT_SESSION_PIDS+=($!)
  local i
  for i in $(seq 50); do [ -e "$a" ] && [ -e "$b" ] && break; sleep 0.1; done
  brevant_map_port "$1" "$a"
  brevant_map_port "$2" "$b"
  export "BREVANT_COM$1_PTY=$a" "BREVANT_COM$2_PTY=$b"
}

wine_session_breaking_line() {
  local link="$BREVANT_SESSION_DIR/com$1"
  python3 "$(dirname "${BASH_SOURCE[0]}")/breaking-line.py" "$link" "$2" &
  BREVANT_SESSION_PIDS+=($!)
  local i
  for i in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
  brevant_map_port "$1" "$link"
}

wine_session_stop() {
  brevant_stop_session "${BREVANT_SESSION_DIR:-}"
}
