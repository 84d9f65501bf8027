# The COM ports of a Wine prefix and the processes a session started; shared by the test session
# and scripts/run.

# Maps COMn to a Unix device (a pty, a serial device, or a folder for a port that never opens).
brevant_map_port() {
  wine reg add 'HKLM\Software\Wine\Ports' /v "COM$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1
}

# Wine reads the port map when its session starts: restart the server after changing it.
# With "keep", the new server stays up between programs, as a test session wants.
brevant_restart_wineserver() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ "${1:-}" = keep ]; then wineserver -p; fi
}

# Ends the prefix's server and every process in BREVANT_SESSION_PIDS, then removes the folder.
brevant_stop_session() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  local pid
  for pid in "${BREVANT_SESSION_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${BREVANT_SESSION_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  [ -n "${1:-}" ] && rm -rf "$1"
  BREVANT_SESSION_PIDS=()
}
