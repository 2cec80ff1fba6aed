# shellcheck shell=bash
# The counts of a test command, kept in one place so that every stage is
# counted the same way: a stage only reports through these functions, and
# the summary adds up what they recorded.
#
#   . scripts/test-counts.sh
#   stage NAME COMMAND...          one step, one test: passed or failed by its exit status
#   ctest_stage NAME [ctest ARGS]  each test of a CTest run counted; a failure,
#                                  a test that passed only when run again and a
#                                  skipped one named
#   stages_beside FUNCTION         runs FUNCTION's stages beside the ones that
#                                  follow, its output held back
#   stages_join                    waits for them, shows their output and adds
#                                  their counts
#   counts_summary                 the lines that name failures, retries and
#                                  skips, then "N passed, M failed"; true when
#                                  nothing failed

counted_passed=0
counted_failures=() counted_retried=() counted_skipped=()

count_passed() { counted_passed=$((counted_passed + ${1:-1})); }
count_failed() { counted_failures+=("$@"); }    # NAME...: one failure each
count_retried() { counted_retried+=("$@"); }    # NAME...: passed, but only when run again
count_skipped() { counted_skipped+=("$@"); }    # NAME...: neither passed nor failed

stage() {  # NAME COMMAND...
  local name=$1; shift
  echo "== $name"
  if "$@"; then count_passed; else count_failed "$name"; fi
}

# Reads a CTest log: each test's last result decides it; a test whose first
# result was not a pass but whose last was needed its retry. Tests are told
# apart by their numbers, as names may hold spaces (a parameterised case's
# value). Prints one line per test, "<passed|failed|retried|skipped> NAME".
ctest_results() {  # LOG
  awk '
    match($0, /Test +#[0-9]+: /) {
      number = $0; sub(/.*Test +#/, "", number); sub(/:.*/, "", number)
      rest = substr($0, RSTART + RLENGTH)   # "NAME ....   Passed    0.40 sec"
      if (!match(rest, / \.\.\.+/)) next
      name = substr(rest, 1, RSTART - 1)
      result = substr(rest, RSTART + RLENGTH)
      sub(/^[ *]+/, "", result); sub(/ +[0-9.]+ sec.*$/, "", result)
      if (!(number in first)) { first[number] = result; names[number] = name; order[++n] = number }
      last[number] = result
    }
    END {
      for (i = 1; i <= n; i++) {
        number = order[i]; name = names[number]
        if (last[number] == "Passed") print (first[number] == "Passed" ? "passed " : "retried ") name
        else if (last[number] ~ /Skipped/) print "skipped " name
        else print "failed " name
      }
    }' "$1"
}

ctest_stage() {  # NAME [ctest ARGS...]
  local name=$1 log results verdict test
  shift
  echo "== $name"
  log=$(mktemp)
  ctest "$@" 2>&1 | tee "$log"
  results=$(ctest_results "$log")
  rm -f "$log"
  if [ -z "$results" ]; then
    count_failed "$name: no test ran"
    return 1
  fi
  while read -r verdict test; do
    case $verdict in
      passed) count_passed ;;
      retried) count_passed; count_retried "$test" ;;
      skipped) count_skipped "$test" ;;
      *) count_failed "$test" ;;
    esac
  done <<<"$results"
}

stages_beside() {  # FUNCTION
  beside_name=$1 beside_log=$(mktemp) beside_counts=$(mktemp)
  (
    counted_passed=0 counted_failures=() counted_retried=() counted_skipped=()
    "$1"
    {
      echo "count_passed $counted_passed"
      [ ${#counted_failures[@]} -eq 0 ] || echo "count_failed$(printf ' %q' "${counted_failures[@]}")"
      [ ${#counted_retried[@]} -eq 0 ] || echo "count_retried$(printf ' %q' "${counted_retried[@]}")"
      [ ${#counted_skipped[@]} -eq 0 ] || echo "count_skipped$(printf ' %q' "${counted_skipped[@]}")"
    } > "$beside_counts"
  ) > "$beside_log" 2>&1 &
  beside_pid=$!
}
stages_join() {
  wait "$beside_pid"
  cat "$beside_log"
  # shellcheck disable=SC1090
  if [ -s "$beside_counts" ]; then . "$beside_counts"; else count_failed "$beside_name: ended without its counts"; fi
  rm -f "$beside_log" "$beside_counts"
}

joined() { local IFS=,; sed 's/,/, /g' <<<"$*"; }  # NAME...: "a, b"

counts_summary() {
  echo
  [ ${#counted_skipped[@]} -eq 0 ] ||
    echo "skipped (${#counted_skipped[@]}): $(joined "${counted_skipped[@]}")"
  [ ${#counted_retried[@]} -eq 0 ] ||
    echo "passed only when run again (${#counted_retried[@]}): $(joined "${counted_retried[@]}")"
  [ ${#counted_failures[@]} -eq 0 ] ||
    echo "failed: $(joined "${counted_failures[@]}")"
  echo "$counted_passed passed, ${#counted_failures[@]} failed"
  [ ${#counted_failures[@]} -eq 0 ]
}
