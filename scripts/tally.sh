# The count of a test script's checks and its one closing line, "NAME: N passed, N failed (...)": sourced by
# test-win32.sh and test-wow64.sh, not run.
passed=0
failed=0

# tally STATUS: one check more, passed when STATUS is 0.
tally() {
  if [ "$1" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

# tally_end NAME [DETAIL]: prints the closing line; fails when a check failed.
tally_end() {
  echo "$1: $passed passed, $failed failed${2:+ ($2)}"
  [ "$failed" -eq 0 ]
}
