# The count of a test script's checks and its one closing line, "NAME: N passed, N failed (...)": sourced by
# test-win32.sh, test-wow64.sh and tests/wine/msi_install_test.sh, not run.
passed=0
failed=0

# tally STATUS: one check more, passed when STATUS is 0.
tally() {
  if [ "$1" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

# check DESCRIPTION COMMAND...: one check more, passed when the command succeeds; its output and "ok: ..." or
# "FAILED: ..." go to the script's $logFile.
check() {
  local what=$1
  shift
  "$@" >>"$logFile" 2>&1
  local status=$?
  tally "$status"
  if [ "$status" -eq 0 ]; then echo "ok: $what" >>"$logFile"; else echo "FAILED: $what" >>"$logFile"; fi
}

# tally_end NAME [DETAIL]: prints the closing line; fails when a check failed.
tally_end() {
  echo "$1: $passed passed, $failed failed${2:+ ($2)}"
  [ "$failed" -eq 0 ]
}
