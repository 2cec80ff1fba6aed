#!/bin/bash
# The test command's counting (scripts/test-counts.sh), on CTest logs written
# by hand and on stages run beside others: every failure, retry and skip
# named and counted, the stages run beside joined into the same counts, their
# output shown only when joined, one that ends without its counts a failure.
#
# Usage: test_counts_test.sh

set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/checks.sh"
. "$here/../../scripts/test-counts.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A CTest log: #2 failed then passed on its retry, #3 failed twice, #4 was
# skipped, and #5 holds dots and spaces in its name.
cat > "$work/ctest.log" <<'LOG'
1/5 Test #1: alpha ...........................   Passed    0.40 sec
2/5 Test #2: beta ............................***Failed    1.00 sec
3/5 Test #3: gamma ...........................***Failed    2.00 sec
4/5 Test #4: delta ...........................***Skipped   0.00 sec
5/5 Test #5: Case/Params.Row/1  # "a b" ......   Passed    0.10 sec
    Start 2: beta
1/2 Test #2: beta ............................   Passed    0.90 sec
1/2 Test #3: gamma ...........................***Failed    2.10 sec
LOG
expect "each test's verdict, the retried one apart" \
  "passed alpha
retried beta
failed gamma
skipped delta
passed Case/Params.Row/1  # \"a b\"" "$(ctest_results "$work/ctest.log")"

# Stages run beside the main ones: a pass, a failure, a retried and a
# skipped test; their output held back until they are joined.
beside() {
  stage "beside passes" true
  stage "beside fails" false
  count_passed; count_retried "beside retried"
  count_skipped "beside skipped one"
  echo "beside's own output"
}
( # counted in a subshell, as the test command counts in its own shell
  stages_beside beside
  sleep 0.2
  stage "main passes" true
  stage "main fails" false
  stages_join
  counts_summary
  echo "status $?"
) > "$work/run.out" 2>&1
run=$(cat "$work/run.out")
expect "the summary counts both sides' passes and failures" \
  "3 passed, 2 failed" "$(grep -E '^[0-9]+ passed' <<<"$run")"
check "the failures of both sides are named" \
  matches "$(grep '^failed:' <<<"$run")" "failed: main fails, beside fails"
expect "the retried test is named" "passed only when run again (1): beside retried" \
  "$(grep '^passed only when run again' <<<"$run")"
check "the skipped test is named, a name with a blank kept whole" \
  matches "$(grep '^skipped' <<<"$run")" "skipped (1): beside skipped one"
expect "a failure makes the summary false" "status 1" "$(tail -n 1 <<<"$run")"
check "the stages beside show their output when joined, after the main ones'" \
  matches "$run" "*== main fails*== beside passes*beside's own output*"

# Stages beside that end before they report: a failure, never a pass.
ended() { exit 0; }
(
  stages_beside ended
  stage "main passes" true
  stages_join
  counts_summary
  echo "status $?"
) > "$work/ended.out" 2>&1
ended_run=$(cat "$work/ended.out")
expect "stages that end without their counts are a failure" "1 passed, 1 failed" \
  "$(grep -E '^[0-9]+ passed' <<<"$ended_run")"
check "and are named" matches "$ended_run" "*failed: ended: ended without its counts*status 1"

# Nothing failed: the summary is true and names nothing.
(
  stage "only" true
  counts_summary
  echo "status $?"
) > "$work/clean.out" 2>&1
expect "all passed: one line and a true summary" "
1 passed, 0 failed
status 0" "$(grep -v '^==' "$work/clean.out")"
checks_summary
