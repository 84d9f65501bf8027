#!/usr/bin/env bash
# brevant-cli.exe in Wine's console (a pseudo-terminal that `script` makes): info, export and show
# print the katakana, the yen sign and the block characters as they are, not byte by byte.
#   console_utf8.sh EXE SHOP_2X16_KSS
set -uo pipefail
exe=$1 file=$2
failures=0
# The console draws spaces as cursor moves; only the characters are compared.
in_console() {
  LANG=C.UTF-8 script -qec "WINEDEBUG=-all wine '$exe' $*" /dev/null | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g'
}
expect() {
  local what=$1 text=$2
  shift 2
  grep -qF -- "$text" <<<"$(in_console "$@")" || { echo "FAIL: $what does not show $text"; failures=$((failures + 1)); }
}
expect "info" "|ｲﾗｯｼｬｲﾏｾ!" info "'$file'"
expect "info" "¥1,200" info "'$file'"
expect "export" "ｲﾗｯｼｬｲﾏｾ!" export "'$file'"
expect "show" "░░░░░░░░██" show --style blocks "'$file'"
[ $failures -eq 0 ] && echo "info, export and show print UTF-8 in the console"
exit $((failures > 0))
