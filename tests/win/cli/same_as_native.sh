#!/usr/bin/env bash
# brevant-cli.exe under Wine and the native brevant-cli give the same bytes and exit codes for
# every subcommand on the examples: same_as_native.sh EXE NATIVE EXAMPLES
set -uo pipefail
exe=$1 native=$2 examples=$3
[ -x "$native" ] || { echo "no native brevant-cli at $native: build the native preset first" >&2; exit 1; }
work=$(mktemp -d /tmp/brevant-cli-same.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$examples"/*.kss "$examples"/*.json "$examples"/*.png "$work"/
cd "$work"
failures=0

# Runs one command line in both, each in a fresh folder holding the examples, and compares
# standard output, the exit code and the output files named out.*.
same() {
  local outputs=() a d f
  for a in "$@"; do case $a in out.*) outputs+=("$a") ;; esac; done
  for d in native windows; do
    rm -rf "$d" && mkdir "$d" && cp ./*.kss ./*.json ./*.png "$d"/
  done
  (cd native && "$native" "$@" >stdout 2>stderr; echo $? >code)
  (cd windows && WINEDEBUG=-all wine "$exe" "$@" >stdout 2>stderr; echo $? >code)
  for f in stdout code "${outputs[@]}"; do
    if [ -e "native/$f" ] || [ -e "windows/$f" ]; then
      cmp -s "native/$f" "windows/$f" || { echo "differs: $* ($f)"; failures=$((failures + 1)); }
    fi
  done
  checked=$((checked + 1))
  [ "$(cat native/code)" = 0 ] && done_ok=$((done_ok + 1))
}
checked=0 done_ok=0

for screen in *.kss; do
  same info "$screen"
  same show --style blocks "$screen"
  same show "$screen"
  for format in json c arduino bytes; do same export --format "$format" "$screen"; done
  same render "$screen" -o out.png
  same render "$screen" --scale 3 -o out.png
done
for json in *.json; do same import "$json" -o out.kss; done
same new --geometry 2x16 --rows 4 --line '3=SN \x30042' --char '5=#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.' -o out.kss
same logo brevant-logo.png --from weather-2x20.kss --at 1,17 -o out.kss
same new --geometry 2x20 --line '1=123456789012345678901' -o out.kss
same info missing.kss
same export --format pdf weather-2x20.kss

# Every command line above but the last three succeeds; fewer would mean the comparison saw nothing.
if [ "$done_ok" -ne $((checked - 3)) ]; then
  echo "only $done_ok of $((checked - 3)) command lines succeeded natively"
  failures=$((failures + 1))
fi
if [ "$failures" -ne 0 ]; then
  echo "$failures differences between brevant-cli.exe and the native brevant-cli"
  exit 1
fi
echo "brevant-cli.exe and the native brevant-cli agree on $checked command lines"
