# Shared by the end-to-end scripts: sourced after `set -euo pipefail`, with
# $patchtool, $updater and $work set.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run_updater EXPECTED_STATUS EXPECTED_VERDICT_ID: runs the updater and checks
# its exit status and that its last line is that message in Polish.
run_updater() {
  local status=0
  wine "$updater" >"$work/out" 2>"$work/err" </dev/null || status=$?
  local last expected
  last=$(sed 's/\r$//' "$work/out" | tail -n 1)
  expected=$("$patchtool" message "$2" --language 0)
  echo "  exit $status, last line: $last"
  [ "$status" = "$1" ] || fail "exit status $status, expected $1"
  [ "$last" = "$expected" ] || fail "last line is not message $2 ($expected)"
}

crc_of() { "$patchtool" crc "$1" | cut -d' ' -f1; }

finish() {
  [ "$failures" = 0 ] && echo "All end-to-end checks passed"
  exit "$failures"
}
