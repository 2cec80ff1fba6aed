#!/usr/bin/env bash
# The program check's import rules, on import listings written here in
# objdump -p's form, and the whole check on a program built to break them.
#
#   check_windows_program_test.sh imports_what_no_program_may.exe
set -u
here=$(dirname "$0")
. "$here/checks.sh"
program=$1
listing=$(mktemp)
trap 'rm -f "$listing"' EXIT

# faults "DLL function..." ...: what the check says of a listing importing
# those functions from those DLLs, its FAILED lines in byte order.
faults() {
  local imports dll function
  {
    printf 'The Import Tables (interpreted .idata section contents)\n'
    for imports in "$@"; do
      read -r dll imports <<<"$imports"
      printf '\n\tDLL Name: %s\n\tvma:  Hint/Ord Member-Name Bound-To\n' "$dll"
      for function in $imports; do printf '\t%x\t  %4d  %s\n' 41000 12 "$function"; done
    done
    printf '\n'
  } >"$listing"
  bash "$here/check_windows_program.sh" --imports "$listing" | grep '^FAILED' | LC_ALL=C sort
}
not_known() { echo "FAILED: imports $1, not one of Windows' known DLLs"; }
eight_bit() { echo "FAILED: imports the 8-bit text call $1"; }

expect "wide calls of known DLLs, in any case, and the two start-up calls pass" "" \
  "$(faults "KERNEL32.dll CreateFileW GetModuleHandleA LoadLibraryA" "user32.DLL CreateWindowExW" \
            "IMM32.DLL ImmInstallIMEW" "msvcrt.dll malloc")"
expect "an 8-bit call after a small letter" "$(eight_bit MessageBoxA)" \
  "$(faults "USER32.dll MessageBoxA")"
expect "an 8-bit call after a capital" \
  "$(eight_bit CreateDCA; eight_bit CreateICA; eight_bit ImmInstallIMEA)" \
  "$(faults "GDI32.dll CreateDCA CreateICA" "IMM32.DLL ImmInstallIMEA")"
expect "an 8-bit call after a digit" "$(eight_bit GetTextExtentPoint32A)" \
  "$(faults "GDI32.dll GetTextExtentPoint32A")"
expect "an 8-bit call without a wide twin" "$(eight_bit CharNextExA)" \
  "$(faults "USER32.dll CharNextExA")"
expect "a start-up call's name is allowed only whole" "$(eight_bit GetModuleHandleExA)" \
  "$(faults "KERNEL32.dll GetModuleHandleExA")"
expect "LineDDA is no text call" "" "$(faults "GDI32.dll LineDDA")"
expect "DLLs that Windows looks for in the program's folder first" \
  "$(not_known COMCTL32.dll; not_known UxTheme.dll; not_known VERSION.dll)" \
  "$(faults "COMCTL32.dll InitCommonControls" "VERSION.dll GetFileVersionInfoSizeW" \
            "UxTheme.dll OpenThemeData")"

report=$(bash "$here/check_windows_program.sh" "$program")
status=$?
echo "$report"
expect "a program importing them fails the check" 1 "$status"
expect "the check names its 8-bit calls, its DLL outside the known ones and its lack of a load configuration" \
  "$(not_known VERSION.dll; eight_bit CreateDCA; eight_bit ImmInstallIMEA
     echo "FAILED: no load configuration whose dependent load flags are LOAD_LIBRARY_SEARCH_SYSTEM32")" \
  "$(grep '^FAILED' <<<"$report" | LC_ALL=C sort)"
checks_summary
