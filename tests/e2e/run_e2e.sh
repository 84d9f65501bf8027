#!/usr/bin/env bash
# End-to-end tests in a private Wine world of their own.
#   run_e2e.sh BREVANT_EXE DRIVER_EXE GLYPH_TABLE_INC VMODULE OUT_DIR CLI_EXE NATIVE_CLI
# COM3 leads to a pseudo-terminal that the tests read; COM7 leads to the virtual display module
# when VMODULE is an executable (its tests are skipped otherwise).
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/wine-session.sh"
brevant_check_runnable "$1" || exit 1
trap wine_session_stop EXIT
wine_session_start

export BREVANT_MODULE_LINE="" BREVANT_MODULE_DUMP="" BREVANT_MODULE_STATE=""
if [ -x "$4" ]; then
  BREVANT_MODULE_LINE="$BREVANT_SESSION_DIR/module-line"
  BREVANT_MODULE_DUMP="$BREVANT_SESSION_DIR/module.dump"
  BREVANT_MODULE_STATE="$BREVANT_SESSION_DIR/module.state"
  "$4" --link "$BREVANT_MODULE_LINE" --dump-to "$BREVANT_MODULE_DUMP" --state "$BREVANT_MODULE_STATE" --quiet \
    >/dev/null 2>&1 &
  BREVANT_SESSION_PIDS+=($!)
  export BREVANT_MODULE_PID=$!
  for _ in $(seq 100); do [ -L "$BREVANT_MODULE_LINE" ] && break; sleep 0.1; done
  brevant_map_port 7 "$BREVANT_MODULE_LINE"
  brevant_restart_wineserver keep
fi

python3 "$here/e2e_test.py" --brevant "$1" --driver "$2" --glyphs "$3" --vmodule "$4" --out "$5" --cli "$6" \
  --native-cli "$7" -v
