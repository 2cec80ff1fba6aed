#!/usr/bin/env bash
# A program as it ships: 32-bit PE, GUI subsystem, importing only Windows
# system DLLs and no 8-bit text call (its text reaches Windows as UTF-16,
# whatever the system's code page), under 100 KB beside the large resources
# it builds in.
#
#   check_windows_program.sh PROGRAM.exe DLL,DLL,... [RESOURCE,RESOURCE,...]
set -u
exe=$1
IFS=, read -r -a allowed <<<"$2"
IFS=, read -r -a resources <<<"${3:-}"
objdump=i686-w64-mingw32-objdump
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

headers=$($objdump -p "$exe")
grep -q 'file format pei-i386' <<<"$headers" || fail "not a 32-bit PE"
grep -qE '^Subsystem\s+0*2\b' <<<"$headers" || fail "not the GUI subsystem"
while read -r dll; do
  ok=0
  for a in "${allowed[@]}"; do [ "${dll,,}" = "${a,,}" ] && ok=1; done
  [ $ok -eq 1 ] || fail "imports $dll"
done < <(sed -n 's/.*DLL Name: //p' <<<"$headers")
# 8-bit calls that the MinGW start-up code makes, with constant ASCII names
# only: GetModuleHandleA and LoadLibraryA look up the C runtime's and the
# unwinder's DLLs by name.
runtime_only=(GetModuleHandleA LoadLibraryA)
while read -r function; do
  ok=0
  for r in "${runtime_only[@]}"; do [ "$function" = "$r" ] && ok=1; done
  [ $ok -eq 1 ] || fail "imports the 8-bit text call $function"
done < <(sed -n '/DLL Name:/,$ s/^\s*[0-9a-f]\+\s\+[0-9]\+\s\+\([A-Za-z0-9_]*[a-z0-9]A\)$/\1/p' <<<"$headers")
size=$(stat -c %s "$exe")
allowance=0
for r in "${resources[@]}"; do allowance=$((allowance + $(stat -c %s "$r"))); done
[ "$size" -lt $((102400 + allowance)) ] ||
  fail "$size bytes, not under 100 KB beside $allowance bytes of resources"
[ $allowance -eq 0 ] || echo "$(basename "$exe"): $((size - allowance)) bytes beside $allowance bytes of resources"
echo "$(basename "$exe"): $size bytes, imports $(sed -n 's/.*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
[ $failures -eq 0 ]
