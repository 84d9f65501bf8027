#!/usr/bin/env bash
# Checks a Windows release archive: what it holds, what kind of programs they are, and, where this
# host can execute them, that both start under Wine from the unpacked folder.
#   check_package.sh ZIP DRIVER_EXE README LICENSE
# Runs inside a Wine session (scripts/lib/wine-session.sh).
set -u
zip=$1 driver=$2 readme=$3 licence=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/host-arch.sh"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

top=$(basename "$zip" .zip)
case "$top" in
  *-win32) kind="PE32 executable"; arch="Intel 80386"; runs=0; brevant_host_runs_32bit && runs=1 ;;
  *-win64) kind="PE32+ executable"; arch="x86-64"; runs=1 ;;
  *) fail "$zip: not a release archive name"; exit 1 ;;
esac

unpacked=$(mktemp -d "/tmp/brevant package.XXXXXX")
trap 'rm -rf "$unpacked"' EXIT
python3 - "$zip" "$unpacked" <<'PY' || fail "$zip: not a zip archive"
import sys, zipfile
zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])
PY
folder="$unpacked/$top"
names=$(cd "$folder" 2>/dev/null && find . -type f | sed 's|^\./||' | sort)
for name in brevant.exe brevant-cli.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  grep -qx "$name" <<<"$names" || fail "$top/$name is missing"
done
examples=$(grep -c '^examples/.*\.kss$' <<<"$names")
[ "$examples" -gt 0 ] || fail "$top/examples holds no start screen"
[ "$(grep -cv -e '^examples/' -e '^brevant.exe$' -e '^brevant-cli.exe$' -e '^README.txt$' -e '^LICENSE.txt$' \
     -e '^THIRD-PARTY-NOTICES.txt$' <<<"$names")" -eq 0 ] || fail "$top holds files nobody asked for: $names"

describe() { file -b "$folder/$1"; }
[[ "$(describe brevant.exe)" == "$kind (GUI) $arch"* ]] || fail "brevant.exe is $(describe brevant.exe)"
[[ "$(describe brevant-cli.exe)" == "$kind (console) $arch"* ]] || fail "brevant-cli.exe is $(describe brevant-cli.exe)"
cmp -s <(sed 's/$/\r/' "$readme") "$folder/README.txt" || fail "README.txt is not the README with Windows line ends"
cmp -s <(sed 's/$/\r/' "$licence") "$folder/LICENSE.txt" || fail "LICENSE.txt is not the licence with Windows line ends"

if [ $runs -eq 0 ]; then
  echo "This host cannot execute 32-bit code: $top checked for its contents only; its programs were not started."
else
  cli="$folder/brevant-cli.exe"
  help=$(wine "$cli" --help 2>/dev/null | tr -d '\r')
  grep -q "store" <<<"$help" && grep -q "mirror" <<<"$help" || fail "brevant-cli.exe --help: $help"
  # A screen made by the archive's own program, stored to a port that does not exist: the failure
  # must come back as a report line and exit code 1.
  (cd "$unpacked" && wine "$cli" new --geometry 2x20 --line "1=packed" -o packed.kss >/dev/null 2>&1) ||
    fail "brevant-cli.exe new did not make a screen"
  out=$(cd "$unpacked" && wine "$cli" store packed.kss --port COM12 2>/dev/null)
  code=$?
  out=$(tr -d '\r' <<<"$out")
  [ $code -eq 1 ] || fail "store to COM12 ended with $code"
  [[ "$out" =~ ^COM12:\ cannot\ open:\ .*\ \([0-9]+\.[0-9]{3}\ s\)$ ]] || fail "store to COM12 printed: $out"

  report=$(mktemp)
  wine "$driver" run 60000 "$(printf '"%s"' "$(winepath -w "$folder/brevant.exe" 2>/dev/null)" | od -An -tx1 | tr -d ' \n')" \
    >"$report" 2>/dev/null &
  run=$!
  for _ in $(seq 300); do grep -qw window "$report" && break; kill -0 $run 2>/dev/null || break; sleep 0.1; done
  grep -qw window "$report" || fail "brevant.exe from the archive showed no main window: $(cat "$report")"
  wine "$driver" close >/dev/null 2>&1
  wait $run
  rm -f "$report"
fi

if [ $failures -eq 0 ]; then
  echo "$top: every check passed"
  exit 0
fi
exit 1
