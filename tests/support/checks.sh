# The tally of a shell test script: `check NAME COMMAND...` counts a check that
# holds and names one that does not; `checks_done` prints the count and fails
# when any check failed. Sourced by the scripts that test a command's contract.
passed=0
failed=0

check() {  # name, then a command that succeeds when the check holds
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}

checks_done() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
