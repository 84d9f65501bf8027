# A private Xvfb display on the first free number from :90; its pid joins BREVANT_SESSION_PIDS.
brevant_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    BREVANT_SESSION_PIDS+=($!)
    export DISPLAY=":$n"
    break
  done
  local i
  for i in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
}
