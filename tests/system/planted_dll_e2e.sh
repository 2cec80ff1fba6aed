#!/usr/bin/env bash
# A DLL left beside a program never runs: each program, started as a user
# starts it from a copy of the distribution folder that also holds a
# uxtheme.dll of this test's own (its DllMain leaves the mark file
# C:\planted-dll-ran.txt), with Wine told to search for that name as Windows
# searches for a DLL that is not one of its known DLLs (the program's folder
# first). The program must load the system's own theme library instead, and
# the mark must never appear.
#
#   planted_dll_e2e.sh [--scenario NAME] DIST_DIR uxtheme.dll NavoSetup.exe NvCodeFind.exe RtNavo.exe OUTDIR
#
# The three programs named are those just built; the distribution folder
# must hold the same (build the distribution target). OUTDIR is not used.
#
# Scenarios, each in a fresh prefix: never_runs_in_NavoSetup,
# never_runs_in_NvCodeFind, never_runs_in_RtNavo.
set -u
. "$(dirname "$0")/../support/e2e.sh"
e2e_scenarios never_runs_in_NavoSetup never_runs_in_NvCodeFind never_runs_in_RtNavo
e2e_choose "$@"; shift "$e2e_shift"
dist=$(realpath "$1") planted=$(realpath "$2")
declare -A built=([NavoSetup]=$(realpath "$3") [NvCodeFind]=$(realpath "$4") [RtNavo]=$(realpath "$5"))

wine_begin || exit 1
base=$NAVO_WINE_TMP_PREFIX
folder=$base/dist
mark=$WINEPREFIX/drive_c/planted-dll-ran.txt
# Each line of Wine's load trace names its process: pid:tid:trace:loaddll:...
e2e_wine_debug=+pid,+loaddll,fixme-all

program=${e2e_scenario#never_runs_in_}
trace=$(e2e_wine_log "$program.exe")
scenario "$e2e_scenario"
require "the distribution folder holds the $program.exe just built (build the distribution target)" \
  cmp -s "${built[$program]}" "$dist/$program.exe"
cp -r "$dist" "$folder" && cp "$planted" "$folder/uxtheme.dll"
require "the copy of the distribution folder holds the planted uxtheme.dll" [ -f "$folder/uxtheme.dll" ]

# The trace's lines of the program's own process (Wine's helpers write there too).
program_lines() {
  local pid
  pid=$(grep -F "\\$program.exe\" at " "$trace" | head -n 1 | cut -d: -f1)
  [ -n "$pid" ] && grep "^$pid:" "$trace"
}
theme_loads() { program_lines | grep -i 'Loaded L".*\\uxtheme\.dll"'; }
wait_theme_load() {  # up to 60 s, and a second more for a DllMain to leave its mark
  local i
  for ((i = 0; i < 600; i++)); do
    [ -n "$(theme_loads)" ] && { sleep 1; return 0; }
    sleep 0.1
  done
  return 1
}
system_theme_loaded() {
  theme_loads | grep -F 'Loaded L"C:\\windows\\system32\\uxtheme.dll" at ' | grep -q ': builtin$'
}
planted_never_loaded() { ! theme_loads | grep -qF "$(windows_path "$folder" | sed 's/\\/\\\\/g')"; }
no_mark() {
  [ ! -e "$mark" ] && return 0
  echo "    the mark names: $(iconv -f UTF-16LE -t UTF-8 "$mark" | tr -d '\r')"
  return 1
}

WINEDLLOVERRIDES="$NAVO_WINE_DLLOVERRIDES;uxtheme=n,b" start_program --in "$folder" "./$program.exe"
check "$program.exe, started from its folder, loads a theme library" wait_theme_load
indented "$(theme_loads)"
check "the theme library it loads is the system's own, from the system directory" system_theme_loaded
check "the uxtheme.dll beside it is never loaded" planted_never_loaded
check "no code of the planted DLL ran (no mark file)" no_mark
e2e_finish
