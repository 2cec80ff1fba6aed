#!/usr/bin/env bash
# A program as it ships: 32-bit PE, GUI subsystem, importing only Windows
# system DLLs, under 100 KB.
set -u
exe=$1
IFS=, read -r -a allowed <<<"$2"
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
size=$(stat -c %s "$exe")
[ "$size" -lt 102400 ] || fail "$size bytes, not under 100 KB"
echo "$(basename "$exe"): $size bytes, imports $(sed -n 's/.*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
[ $failures -eq 0 ]
