#!/usr/bin/env bash
# Prints how long brevant.exe takes from its start to its main window appearing, under a Wine
# server that is already running, for a number of starts in a private Wine session.
#   startup_time.sh BREVANT_EXE E2E_DRIVER_EXE [STARTS]
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start >/dev/null 2>&1
exe=$(winepath -w "$1" 2>/dev/null)
hex=$(printf '"%s"' "$exe" | od -An -tx1 | tr -d ' \n')
for i in $(seq "${3:-5}"); do
  out=$(mktemp)
  wine "$2" run 60000 "$hex" >"$out" 2>/dev/null &
  runner=$!
  for _ in $(seq 600); do grep -q window "$out" && break; sleep 0.05; done
  echo "start $i: $(grep -o 'window [0-9]*' "$out" | cut -d' ' -f2) ms"
  wine "$2" close >/dev/null 2>&1
  wait "$runner"
  rm -f "$out"
done
