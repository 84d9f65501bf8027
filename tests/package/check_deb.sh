#!/usr/bin/env bash
# Checks the Debian package as a user gets it: unpacked into a throwaway root, its programs run from
# there, say their version, have manual pages that render, complete their words in bash, and store
# a start screen in a virtual module.
#   check_deb.sh DEB
set -u
deb=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

root=$(mktemp -d /tmp/brevant-deb.XXXXXX)
trap 'kill "$module" 2>/dev/null; rm -rf "$root"' EXIT
dpkg -x "$deb" "$root" || { echo "FAIL: $deb does not unpack"; exit 1; }
bin=$root/usr/bin
version=$(dpkg-deb -f "$deb" Version)

[ "$("$bin/brevant-cli" --version)" = "brevant-cli $version" ] || fail "brevant-cli --version"
[ "$("$bin/vmodule" --version)" = "vmodule $version" ] || fail "vmodule --version"
for page in brevant-cli vmodule; do
  text=$(man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null | col -b)
  grep -q "^NAME" <<<"$text" && grep -q -- "--version" <<<"$text" || fail "man -l $page.1.gz does not render"
done
grep -q "Exit codes: 0 done" <(man -l "$root/usr/share/man/man1/brevant-cli.1.gz" 2>/dev/null | col -b) ||
  fail "brevant-cli(1) does not give the exit codes"

words=$(bash -c 'source /usr/share/bash-completion/bash_completion; source "$1/usr/share/bash-completion/completions/brevant-cli"
  COMP_WORDS=(brevant-cli show --style ""); COMP_CWORD=3; _brevant_cli; echo "${COMPREPLY[*]}"' _ "$root")
[ "$words" = "blocks half quadrants" ] || fail "completion of show --style gives '$words'"

examples=$root/usr/share/doc/brevant-cli/examples
"$bin/vmodule" --link "$root/line" --state "$root/state" --quiet 2>/dev/null &
module=$!
for _ in $(seq 50); do [ -e "$root/line" ] && break; sleep 0.1; done
"$bin/brevant-cli" store "$examples/logo-2x20.kss" --port "$root/line" | grep -q ": stored (" || fail "store to vmodule"
kill "$module"; wait "$module" 2>/dev/null
stored=$("$bin/vmodule" --state "$root/state" --power-cycle --dump | sed -n 's/^row1.hex: //p')
expected=$(od -An -tx1 -j452 -N20 "$examples/logo-2x20.kss" | tr a-f A-F | xargs)
[ "$stored" = "$expected" ] || fail "the module shows '$stored', not the file's first row '$expected'"

[ $failures -eq 0 ] && echo "$deb: unpacks, runs, documents and completes; a store reaches the module"
exit $((failures > 0))
