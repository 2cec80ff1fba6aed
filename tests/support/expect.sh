# shellcheck shell=bash
# The checks of the tools' shell tests: expect NAME EXPECTED ACTUAL counts a
# pass or names the failure with both texts; expect_summary prints the
# counts and is true when nothing failed.
failures=0 passes=0

expect() {  # name expected actual
  if [ "$2" == "$3" ]; then
    passes=$((passes + 1))
  else
    failures=$((failures + 1))
    printf 'FAILED %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3" | head -n 40
  fi
}

expect_summary() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}
