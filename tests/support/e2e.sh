# shellcheck shell=bash
# What every end-to-end script shares beside the checks (tests/support/
# checks.sh: check, equal, given, require, ...): running a test driver or a
# program under Wine, and one scenario chosen by name.
#
#   . tests/support/e2e.sh
#   e2e_scenarios first second ...   the script's scenarios, in order
#   e2e_choose "$@"; shift "$e2e_shift"   takes "--scenario NAME"; without
#                                    one, runs each scenario in turn and sums
#                                    (those for which the script's
#                                    scenario_applies NAME ARGS..., if it
#                                    defines one, is true)
#   if scenario first; then ... fi   runs a part when its scenario is chosen
#   given ...                        a step a scenario needs (another scenario's
#                                    part), checked but not counted
#   require DESCRIPTION COMMAND...   a condition of the set-up, not of the product:
#                                    when it does not hold, the scenario stops
#                                    as a set-up error (exit 3)
#   e2e_finish                       stops Wine, checks nothing is left, prints the counts
#
# What Wine says of the programs and drivers (its error messages) is kept in
# the scenario's temporary folder; when a check fails, the script's output
# shows the Wine processes alive at that moment and, at its end, those
# messages: a program that ended by itself, or Wine's desktop process gone,
# is then seen in the test's log.

. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../wine/winelib.sh"

e2e_all_scenarios=() e2e_scenario=all e2e_shift=0

# The first failure shows the Wine processes alive at that moment; a set-up
# error (Wine is stopped by wine_begin's EXIT trap) shows them and what Wine
# said, and its last line makes a run of all scenarios count it as a failure.
checks_on_first_failure() { e2e_show_processes; }
checks_on_setup_error() {
  e2e_show_processes
  e2e_show_wine_messages
}
chinese_system() { [ "${NAVO_WINE_CODEPAGE:-936}" = 936 ]; }

# Wine's messages of the programs started here: errors only, where the
# tests otherwise run Wine silent.
e2e_wine_debug=fixme-all
# e2e_wine_log NAME: the file that keeps what Wine says of NAME, in the
# scenario's temporary folder (wine_begin's), which goes with it.
e2e_wine_log() {
  if [ -n "${NAVO_WINE_TMP_PREFIX:-}" ]; then echo "$NAVO_WINE_TMP_PREFIX/wine-${1##*/}.log"; else echo /dev/null; fi
}
e2e_show_processes() {
  echo "    Wine processes at this moment:"
  indented "$(wine_live_commands)"
}
e2e_show_wine_messages() {
  local log
  [ -n "${NAVO_WINE_TMP_PREFIX:-}" ] || return 0
  for log in "$NAVO_WINE_TMP_PREFIX"/wine-*.log; do
    [ -s "$log" ] || continue
    echo "    Wine's messages in ${log##*/} (the last 20 lines):"
    indented "$(tail -n 20 "$log")"
  done
}

# run_driver EXE ARGS...: a driver's output without CRs, and its exit status.
run_driver() {
  local output status
  output=$(WINEDEBUG=$e2e_wine_debug wine_exec "$@" </dev/null 2>>"$(e2e_wine_log "$1")")
  status=$?
  printf '%s\n' "$output" | tr -d '\r'
  return $status
}
# run_gbk_driver EXE ARGS...: the same for a driver that prints GBK, as UTF-8.
run_gbk_driver() {
  local output status
  output=$(run_driver "$@")
  status=$?
  printf '%s\n' "$output" | iconv -f GBK -t UTF-8
  return $status
}

# start_program [--in DIR] EXE ARGS...: starts a program under Wine (in DIR)
# in the background; its pid in program_pid.
start_program() {
  local dir=.
  if [ "$1" = --in ]; then dir=$2; shift 2; fi
  (cd "$dir" && WINEDEBUG=$e2e_wine_debug exec "$NAVO_WINE_LOADER" "$@") \
    </dev/null >/dev/null 2>>"$(e2e_wine_log "$1")" &
  program_pid=$!
}
wait_program() {  # [SECONDS]: the exit code, or 124 if it still runs after SECONDS (60)
  local i
  for ((i = 0; i < ${1:-60} * 10; i++)); do
    kill -0 "$program_pid" 2>/dev/null || { wait "$program_pid"; return $?; }
    sleep 0.1
  done
  return 124
}

# register_help_recorder DRIVER LOG: .hlp files open with DRIVER's
# record-help command, which writes each file asked for into LOG (a Windows
# path), so that a test sees what the shell was asked to open.
register_help_recorder() {
  local command file=$WINEPREFIX/drive_c/help-recorder.reg
  command=$(printf '"%s" record-help "%s" "%%1"' "$(windows_path "$1")" "$2")
  command=${command//\\/\\\\}
  command=${command//\"/\\\"}
  {
    printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT\\.hlp]\r\n@="NavoTestHelpRecorder"\r\n\r\n[HKEY_CLASSES_ROOT\\NavoTestHelpRecorder\\shell\\open\\command]\r\n@="%s"\r\n\r\n' \
      "$command" | iconv -f UTF-8 -t UTF-16LE
  } >"$file"
  wine_exec regedit /S 'C:\help-recorder.reg' </dev/null >/dev/null 2>&1
}

# The scenarios of a script, and the one chosen.
e2e_scenarios() { e2e_all_scenarios=("$@"); }
e2e_choose() {  # "$@" of the script: takes a leading --scenario NAME
  e2e_shift=0
  if [ "${1:-}" = --scenario ]; then
    e2e_scenario=$2 e2e_shift=2
    local s
    for s in "${e2e_all_scenarios[@]}"; do [ "$s" = "$e2e_scenario" ] && return 0; done
    echo "no scenario $e2e_scenario; the scenarios: ${e2e_all_scenarios[*]}" >&2
    exit 2
  fi
  # Without one: every scenario in turn, each in its own run, and the sums.
  local s log passed=0 failed=0 counts
  log=$(mktemp)
  for s in "${e2e_all_scenarios[@]}"; do
    if declare -F scenario_applies >/dev/null && ! scenario_applies "$s" "$@"; then
      echo "== scenario $s: not for code page ${NAVO_WINE_CODEPAGE:-936} with these arguments"
      continue
    fi
    bash "$0" --scenario "$s" "$@" | tee "$log"
    counts=$(tail -n 1 "$log")
    if [[ "$counts" =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed(,\ [0-9]+\ skipped)?$ ]]; then
      passed=$((passed + BASH_REMATCH[1])) failed=$((failed + BASH_REMATCH[2]))
    else
      failed=$((failed + 1))
    fi
  done
  rm -f "$log"
  echo "all scenarios: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}
scenario() {  # NAME: true when NAME is the scenario chosen; says so
  [ "$e2e_scenario" = "$1" ] || return 1
  echo "== scenario $1 (code page ${NAVO_WINE_CODEPAGE:-936})"
}

# Stops Wine and the Xvfb, checks that nothing of either is left, prints the
# counts and returns whether every check passed.
e2e_finish() {
  local xvfb_pid=${NAVO_WINE_XVFB_PID:-}
  [ "$checks_failed" -eq 0 ] || e2e_show_wine_messages
  wine_cleanup
  check "no Wine process is left behind" equal 0 "$(wine_live_processes)"
  [ -z "$xvfb_pid" ] || check "no Xvfb is left behind" eval "! kill -0 $xvfb_pid 2>/dev/null"
  checks_summary
}

# e2e_display_dpi DPI: the display's scale of the scenario's prefix (96 is
# 100 %, 144 is 150 %), in both keys Wine reads it from, before any program
# starts; Wine reads it when its server starts, so the server that the import
# started is let end first.
e2e_display_dpi() {
  local value file=$WINEPREFIX/drive_c/display-dpi.reg
  value=$(printf '%08x' "$1")
  {
    printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%s\r\n\r\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\r\n"LogPixels"=dword:%s\r\n\r\n' \
      "$value" "$value" | iconv -f UTF-8 -t UTF-16LE
  } >"$file"
  wine_exec regedit /S 'C:\display-dpi.reg' </dev/null >/dev/null 2>&1 && wine_server -w
}
