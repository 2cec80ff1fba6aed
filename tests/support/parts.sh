# shellcheck shell=bash
# A long test script shared among N runs that CTest starts at once: with
# `--part K/N` first among its arguments, a run makes only every Nth check
# from the Kth on (counting from 1), the checks dealt out in turn so that one
# large table's checks go to different runs.
#
#   . tests/support/parts.sh
#   parts_take_option "$@" || exit 2; shift "$parts_shift"
#   in_part && check ...            the next check, when it is this run's

part=1 parts=1 parts_shift=0 parts_unit=0

parts_take_option() {
  [ "${1:-}" = --part ] || return 0
  if [[ ! "${2:-}" =~ ^([1-9][0-9]*)/([1-9][0-9]*)$ ]] ||
     [ "${BASH_REMATCH[1]}" -gt "${BASH_REMATCH[2]}" ]; then
    echo "${0##*/}: --part takes K/N with 1 <= K <= N" >&2
    return 1
  fi
  part=${BASH_REMATCH[1]} parts=${BASH_REMATCH[2]} parts_shift=2
}

in_part() {
  parts_unit=$((parts_unit + 1))
  [ $(( (parts_unit - part) % parts )) -eq 0 ]
}
