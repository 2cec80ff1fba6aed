#!/usr/bin/env bash
# A program as it ships: 32-bit PE, GUI subsystem, importing only Windows'
# known DLLs and no 8-bit text call (its text reaches Windows as UTF-16,
# whatever the system's code page), its load configuration asking Windows to
# take the dependencies of its DLLs from the system directory only, under
# 100 KB beside the large resources it builds in.
#
#   check_windows_program.sh PROGRAM.exe [RESOURCE,RESOURCE,...]
#   check_windows_program.sh --imports LISTING   the import rules alone, on
#                                                objdump -p's text of a program
set -u
objdump=i686-w64-mingw32-objdump
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# The DLLs Windows always takes from its system directory, whatever lies in
# the program's folder: those of the KnownDLLs key on Windows 7 and later.
# Not comctl32 (loaded side by side), version or uxtheme.
known_dlls=(KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll SHELL32.dll IMM32.dll msvcrt.dll)
# 8-bit calls that the MinGW start-up code makes, with constant ASCII names
# only: GetModuleHandleA and LoadLibraryA look up the C runtime's and the
# unwinder's DLLs by name.
runtime_only=(GetModuleHandleA LoadLibraryA)
# Every other import ending in A is an 8-bit text call, but for LineDDA
# (gdi32's line walker). Read from the MinGW import libraries of the known
# DLLs: each of their names ending in A has a wide twin ending in W, apart
# from LineDDA and three 8-bit text calls (CharNextExA, CharPrevExA,
# SHGetDiskFreeSpaceA).
not_text=(LineDDA)

listed() {  # NAME LIST...: NAME is on the list, in any case
  local name=${1,,} item
  shift
  for item in "$@"; do [ "$name" = "${item,,}" ] && return 0; done
  return 1
}
# The import rules on objdump -p's text: a failure for each DLL outside the
# known ones and each 8-bit text call imported by name.
check_imports() {  # LISTING
  local dll function
  while read -r dll; do
    listed "$dll" "${known_dlls[@]}" || fail "imports $dll, not one of Windows' known DLLs"
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$1")
  while read -r function; do
    listed "$function" "${runtime_only[@]}" "${not_text[@]}" ||
      fail "imports the 8-bit text call $function"
  done < <(sed -n '/DLL Name:/,$ s/^\s*[0-9a-f]\+\s\+[0-9]\+\s\+\([A-Za-z0-9_]*A\)$/\1/p' <<<"$1")
}

# The dependent load flags of the program's load configuration: the 16 bits
# at offset 54 of IMAGE_LOAD_CONFIG_DIRECTORY32, read at the file offset of
# that address in the section holding it. Nothing without one.
dependent_load_flags() {  # PROGRAM HEADERS
  local address size base _ section_size vma file_offset
  read -r address size < <(sed -n 's/^Entry a \([0-9a-f]*\) \([0-9a-f]*\) Load Configuration Directory$/\1 \2/p' <<<"$2")
  [ -n "${address:-}" ] && [ $((16#$size)) -ge 56 ] || return 0
  base=$(sed -n 's/^ImageBase\s*//p' <<<"$2")
  address=$((16#$address + 16#$base))
  while read -r _ _ section_size vma _ file_offset _; do
    if [ $address -ge $((16#$vma)) ] && [ $address -lt $((16#$vma + 16#$section_size)) ]; then
      od -An -tu2 -j $((16#$file_offset + address - 16#$vma + 54)) -N 2 "$1" | tr -d ' '
      return 0
    fi
  done < <($objdump -h "$1" | grep -E '^\s+[0-9]+ ')
}
load_library_search_system32=2048  # 0x800

if [ "$1" = --imports ]; then
  check_imports "$(cat "$2")"
  [ $failures -eq 0 ]
  exit
fi

exe=$1
IFS=, read -r -a resources <<<"${2:-}"
headers=$($objdump -p "$exe")
grep -q 'file format pei-i386' <<<"$headers" || fail "not a 32-bit PE"
grep -qE '^Subsystem\s+0*2\b' <<<"$headers" || fail "not the GUI subsystem"
check_imports "$headers"
[ "$(dependent_load_flags "$exe" "$headers")" = $load_library_search_system32 ] ||
  fail "no load configuration whose dependent load flags are LOAD_LIBRARY_SEARCH_SYSTEM32"
size=$(stat -c %s "$exe")
allowance=0
for r in "${resources[@]}"; do allowance=$((allowance + $(stat -c %s "$r"))); done
[ "$size" -lt $((102400 + allowance)) ] ||
  fail "$size bytes, not under 100 KB beside $allowance bytes of resources"
[ $allowance -eq 0 ] || echo "$(basename "$exe"): $((size - allowance)) bytes beside $allowance bytes of resources"
echo "$(basename "$exe"): $size bytes, imports $(sed -n 's/.*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
[ $failures -eq 0 ]
