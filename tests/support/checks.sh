# shellcheck shell=bash
# The checks of every shell test: each passes or fails, a failure names the
# line of the check in its script and says why, and the last line counts
# them.
#
#   . tests/support/checks.sh
#   check DESCRIPTION COMMAND...    the command must succeed; returns its status
#   expect DESCRIPTION EXPECTED ACTUAL   the two texts must be the same
#   equal EXPECTED ACTUAL           a command for check: the same, or says both
#   matches TEXT PATTERN            a command for check: TEXT matches the shell
#                                   pattern (a glob), or it is shown
#   indented TEXT                   TEXT, each line indented by four spaces
#   fail DESCRIPTION [DETAIL]       a failure found without a command
#   skip DESCRIPTION                what this machine cannot check: neither
#                                   passed nor failed, but counted and shown
#   given COMMAND...                runs steps that belong to another test: their
#                                   checks must pass but are not counted
#                                   (checks_given is 1 meanwhile)
#   require DESCRIPTION COMMAND...  a condition of the set-up, not of the product:
#                                   not counted when it holds; when it does not,
#                                   the script stops as a set-up error (exit 3)
#   checks_summary                  prints "N passed, M failed" (", K skipped");
#                                   true when nothing failed and something passed
#
# A script may define checks_on_first_failure and checks_on_setup_error to
# show more of what it sees (run at its first failure and before a set-up
# error ends it).

checks_passed=0 checks_failed=0 checks_skipped=0 checks_given=0

# checks_where DEPTH: "script:line" of the call DEPTH functions up from the
# one that asks (1: where that function was called).
checks_where() {
  echo "${BASH_SOURCE[$1 + 1]##*/}:${BASH_LINENO[$1]}"
}

indented() { sed 's/^/    /' <<<"$1"; }

# checks_count WHERE DESCRIPTION COMMAND...: runs the command and counts it.
checks_count() {
  local where=$1 what=$2 status
  shift 2
  "$@"
  status=$?
  if [ "$status" -eq 0 ]; then
    if [ "$checks_given" = 1 ]; then
      echo "given: $what"
    else
      checks_passed=$((checks_passed + 1))
      echo "ok: $what"
    fi
  else
    checks_failure "$where" "$what"
  fi
  return "$status"
}
checks_failure() {  # WHERE DESCRIPTION
  checks_failed=$((checks_failed + 1))
  if [ "$checks_given" = 1 ]; then
    echo "FAILED ($1, a step the test needs): $2"
  else
    echo "FAILED ($1): $2"
  fi
  if [ "$checks_failed" -eq 1 ] && declare -F checks_on_first_failure >/dev/null; then
    checks_on_first_failure
  fi
  return 0
}

check() { checks_count "$(checks_where 1)" "$@"; }
expect() { checks_count "$(checks_where 1)" "$1" equal "$2" "$3"; }
fail() {
  [ -z "${2:-}" ] || indented "$2"
  checks_failure "$(checks_where 1)" "$1"
}
skip() {
  checks_skipped=$((checks_skipped + 1))
  echo "skipped: $1"
}

# equal EXPECTED ACTUAL: true when the same; otherwise shows both, a text
# of more than one line below its name (its first 20 lines).
equal() {
  [ "$1" = "$2" ] && return 0
  if [[ "$1$2" != *$'\n'* ]]; then
    printf '    expected: %s\n    got: %s\n' "$1" "$2"
  else
    echo "    expected:"
    indented "$(head -n 20 <<<"$1")"
    echo "    got:"
    indented "$(head -n 20 <<<"$2")"
  fi
  return 1
}

matches() {
  # shellcheck disable=SC2053
  [[ $1 == $2 ]] && return 0
  echo "    does not match $2:"
  indented "$(head -n 20 <<<"$1")"
  return 1
}

given() {
  local status
  checks_given=1
  "$@"
  status=$?
  checks_given=0
  return $status
}

require() {
  local what=$1 where
  where=$(checks_where 1)
  shift
  if "$@"; then
    echo "given: $what"
    return 0
  fi
  echo "SET-UP ERROR ($where): $what"
  if declare -F checks_on_setup_error >/dev/null; then checks_on_setup_error; fi
  echo "set-up error: the test could not run"
  exit 3
}

checks_summary() {
  local skipped=
  [ "$checks_skipped" -eq 0 ] || skipped=", $checks_skipped skipped"
  [ "$checks_passed" -gt 0 ] || [ "$checks_failed" -gt 0 ] || {
    echo "FAILED: no check ran"
    checks_failed=1
  }
  echo "$checks_passed passed, $checks_failed failed$skipped"
  [ "$checks_failed" -eq 0 ]
}
