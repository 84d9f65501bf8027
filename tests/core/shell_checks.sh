# Counters and a scratch folder for the shell tests: source it, call pass/fail, end with finish.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS: $1"; }
fail() { failed=$((failed + 1)); echo "FAIL: $1"; }
finish() { # NAME
  echo "$1: $passed passed, $failed failed"
  [[ $failed -eq 0 ]]
}
